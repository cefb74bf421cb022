#include "SessionStore.h"

#include "platform/SafeFileWriter.h"
#include "platform/SettingsStore.h"
#include "platform/StateFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString AppName = QStringLiteral("ScintillaMDI");
const QString Section = QStringLiteral("Settings");
const QString RestoreKey = QStringLiteral("RestoreSession");

} // namespace

QString SessionStore::FilePath()
{
    return StateFolder() + QStringLiteral("/session.json");
}

bool SessionStore::RestoresAtStart()
{
    return SettingsStore::GetSetting(AppName, Section, RestoreKey, QStringLiteral("1")) != QLatin1String("0");
}

void SessionStore::SetRestoresAtStart(bool restore)
{
    SettingsStore::SaveSetting(AppName, Section, RestoreKey, restore ? QStringLiteral("1") : QStringLiteral("0"));
}

QString SessionStore::Save(const QList<SessionDocument> &documents)
{
    QJsonArray list;
    for (const SessionDocument &document : documents)
        list.append(QJsonObject{{QStringLiteral("path"), document.path},
                                {QStringLiteral("caretLine"), qint64(document.caretLine)},
                                {QStringLiteral("firstVisibleLine"), qint64(document.firstVisibleLine)},
                                {QStringLiteral("highlighter"), document.highlighter},
                                {QStringLiteral("encoding"), document.encoding}});
    if (!QDir().mkpath(StateFolder()))
        return QStringLiteral("无法建立文件夹“%1”。").arg(StateFolder());
    SafeFileWriter writer(FilePath());
    FileWriteResult result = writer.Open();
    if (result && writer.Write(QJsonDocument(QJsonObject{{QStringLiteral("documents"), list}}).toJson()))
        result = writer.Commit();
    else
        result = writer.Result();
    return result ? QString() : result.reason;
}

QList<SessionDocument> SessionStore::Load()
{
    QFile file(FilePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<SessionDocument> documents;
    const QJsonArray list = QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("documents")).toArray();
    for (const QJsonValue &value : list) {
        const QJsonObject entry = value.toObject();
        SessionDocument document;
        document.path = entry.value(QStringLiteral("path")).toString();
        document.caretLine = long(entry.value(QStringLiteral("caretLine")).toInteger());
        document.firstVisibleLine = long(entry.value(QStringLiteral("firstVisibleLine")).toInteger());
        document.highlighter = entry.value(QStringLiteral("highlighter")).toString();
        document.encoding = entry.value(QStringLiteral("encoding")).toString();
        if (!document.path.isEmpty())
            documents.append(document);
    }
    return documents;
}
