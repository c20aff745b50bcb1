#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <exception>

/// Base of every failure the system raises; the message is what the user is shown. Messages go
/// through the translator, which only the window installs: the tool's stay English.
class EGlyphbookError : public std::exception
{
public:
    explicit EGlyphbookError(QString message)
        : FMessage(std::move(message)), FUtf8(FMessage.toUtf8())
    {
    }

    const QString &message() const noexcept { return FMessage; }
    const char *what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

/// A text that should have been a number and is not.
class EConvertError : public EGlyphbookError
{
public:
    using EGlyphbookError::EGlyphbookError;
};

/// A file that cannot be opened, created, read or written.
class EFileError : public EGlyphbookError
{
public:
    using EGlyphbookError::EGlyphbookError;

    /// Cannot open file "<File>". <Reason>
    static EFileError CannotOpen(const QString &File, const QString &Reason)
    {
        return EFileError(QCoreApplication::translate("EFileError", "Cannot open file \"%1\". %2")
                              .arg(File, Reason));
    }
    /// Cannot create file "<File>". <Reason>
    static EFileError CannotCreate(const QString &File, const QString &Reason)
    {
        return EFileError(QCoreApplication::translate("EFileError", "Cannot create file \"%1\". %2")
                              .arg(File, Reason));
    }
    /// Cannot read file "<File>". <Reason>
    static EFileError CannotRead(const QString &File, const QString &Reason)
    {
        return EFileError(QCoreApplication::translate("EFileError", "Cannot read file \"%1\". %2")
                              .arg(File, Reason));
    }
    /// Cannot write file "<File>". <Reason>
    static EFileError CannotWrite(const QString &File, const QString &Reason)
    {
        return EFileError(QCoreApplication::translate("EFileError", "Cannot write file \"%1\". %2")
                              .arg(File, Reason));
    }
};

/// A text that does not hold a library document.
class EDocumentError : public EGlyphbookError
{
public:
    using EGlyphbookError::EGlyphbookError;
};
