#include "model/ViraSymbol.h"

QString TViraSymbol::FindName(const QString &Lang) const
{
    for (const TStringPairs &pair : Names) {
        if (pair.Name == Lang)
            return pair.Value;
    }
    return QString();
}

QStringList PicturePaths(const TViraSymbol &Symbol)
{
    QStringList paths;
    paths.reserve(1 + Symbol.StateImages.size());
    paths.append(Symbol.Image);
    for (const TStringPairs &state : Symbol.StateImages)
        paths.append(state.Value);
    return paths;
}

QString PicturePath(const TViraSymbol &Symbol, qsizetype ImageIndex)
{
    if (ImageIndex < 0)
        return Symbol.Image;
    return ImageIndex < Symbol.StateImages.size() ? Symbol.StateImages.at(ImageIndex).Value
                                                  : QString();
}

void ReplacePicturePaths(TViraSymbol &Symbol,
                         const std::function<QString(const QString &Stored)> &NewPath)
{
    Symbol.Image = NewPath(Symbol.Image);
    for (TStringPairs &state : Symbol.StateImages)
        state.Value = NewPath(state.Value);
}

TViraSymbolPtr TViraGlyphbook::AddCopy(const TViraSymbol &Symbol)
{
    auto copy = std::make_shared<TViraSymbol>(Symbol);
    copy->Error = false;
    Symbols.append(copy);
    return copy;
}

TVSTextAlign StrToTextAlign(const QString &Text)
{
    if (Text == u"Center")
        return vstaCenter;
    if (Text == u"Left")
        return vstaLeft;
    return vstaRight;
}

QString TextAlignToStr(TVSTextAlign Align)
{
    switch (Align) {
    case vstaRight:
        return QStringLiteral("Right");
    case vstaCenter:
        return QStringLiteral("Center");
    case vstaLeft:
        return QStringLiteral("Left");
    }
    return QStringLiteral("Unknown");
}

bool SameContent(const TViraSymbol &A, const TViraSymbol &B)
{
    return A.Identifier == B.Identifier && A.Image == B.Image && A.ImageX == B.ImageX &&
           A.ImageY == B.ImageY && A.Names == B.Names && A.Symbol == B.Symbol &&
           A.TextAlign == B.TextAlign && A.TextX == B.TextX && A.TextY == B.TextY &&
           A.StateImages == B.StateImages;
}
