#include "modIni.h"

QString ReadIniValue(const QString &strSection, const QString &strKey, const QString &strFile)
{
    return IniFile::Load(strFile).Value(strSection, strKey);
}

IniWriteResult WriteIniValue(const QString &strSection, const QString &strKey, const QString &strValue,
                             const QString &strFile)
{
    IniFile ini = IniFile::Load(strFile);
    if (!ini.LoadError().isEmpty())
        return IniWriteResult::Failed(strFile, ini.LoadError());
    ini.SetValue(strSection, strKey, strValue);
    return ini.Save(strFile);
}
