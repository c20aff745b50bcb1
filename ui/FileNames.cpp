#include "ui/FileNames.h"

QString ChangeFileExt(const QString &FileName, const QString &Extension)
{
    for (qsizetype i = FileName.size() - 1; i >= 0; --i) {
        const QChar c = FileName[i];
        if (c == u'.')
            return FileName.left(i) + Extension;
        if (c == u'/' || c == u'\\' || c == u':')
            break;
    }
    return FileName + Extension;
}

QString WithDefaultSuffix(const QString &FileName, const QString &Suffix)
{
    const qsizetype nameStart = FileName.lastIndexOf(u'/') + 1;
    if (FileName.isEmpty() || FileName.indexOf(u'.', nameStart) >= 0)
        return FileName;
    return FileName + Suffix;
}
