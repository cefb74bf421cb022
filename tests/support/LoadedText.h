#pragma once

#include "editor/ChunkEncoder.h"
#include "editor/DocumentLoader.h"

#include <QFile>

// A file read by the document loader into memory instead of an editor (as
// opening it would decide), and its text written back as saving would.
struct LoadedText
{
    bool ok = false;
    TextEncoding encoding;
    QByteArray text;

    static LoadedText Detect(const QString &path, const DocumentLoader::Sizes &sizes = DocumentLoader::Sizes())
    {
        return Load(path, std::nullopt, sizes, -1);
    }

    // As if the file ended after its first length bytes.
    static LoadedText DetectStart(const QString &path, qint64 length)
    {
        return Load(path, std::nullopt, DocumentLoader::Sizes(), length);
    }

    static LoadedText As(const QString &path, const TextEncoding &encoding,
                         const DocumentLoader::Sizes &sizes = DocumentLoader::Sizes())
    {
        return Load(path, encoding, sizes, -1);
    }

    // The bytes a save of the text writes, mark included, in pieces of the
    // given size; "<unencodable>" when the encoding cannot hold the text.
    QByteArray Saved(qsizetype piece = 1 << 20) const
    {
        ChunkEncoder encoder(encoding);
        QByteArray bytes = encoding.bom ? encoding.Mark() : QByteArray();
        QByteArray out, carry;
        for (qsizetype at = 0; at < text.size() || !carry.isEmpty();) {
            const qsizetype take = std::min(piece, text.size() - at);
            const QByteArray slice = carry + text.mid(at, take);
            at += take;
            const bool last = at == text.size();
            const auto step = encoder.Encode(slice, last, out);
            if (!step.ok)
                return "<unencodable>";
            bytes += out;
            carry = slice.mid(step.used);
            if (last && !carry.isEmpty())
                return "<left over>";
        }
        return bytes;
    }

private:
    static LoadedText Load(const QString &path, const std::optional<TextEncoding> &encoding,
                           const DocumentLoader::Sizes &sizes, qint64 length)
    {
        LoadedText loaded;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return loaded;
        DocumentLoader::Target target;
        target.reserve = [](qint64) {};
        target.clear = [&] { loaded.text.clear(); };
        target.append = [&](const char *data, qsizetype length) { loaded.text.append(data, length); };
        target.breathe = [] {};
        DocumentLoader loader(file, length < 0 ? file.size() : length, std::move(target), sizes);
        loaded.ok = (encoding ? loader.LoadAs(*encoding) : loader.LoadDetected()).ok();
        loaded.encoding = loader.Decided();
        return loaded;
    }
};
