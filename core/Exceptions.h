#pragma once
// Failures are reported by throwing an exception that carries the text the
// user sees; the main loop's handler shows it in a message box.

#include <QString>
#include <exception>

class Exception : public std::exception
{
public:
    explicit Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}
    const QString &Message() const noexcept { return FMessage; }
    const char *what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// A component cannot be named or owned as asked (duplicate names, bad names).
class EComponentError : public Exception
{
    using Exception::Exception;
};

// A property name or value that does not exist or does not fit.
class EPropertyError : public Exception
{
    using Exception::Exception;
};

// One persistent object cannot be assigned to another.
class EConvertError : public Exception
{
    using Exception::Exception;
};

// A class name is not registered.
class EClassNotFound : public Exception
{
    using Exception::Exception;
};

// Reading a stream failed (truncated, wrong format, bad value).
class EReadError : public Exception
{
    using Exception::Exception;
};

// Writing a stream or file failed.
class EWriteError : public Exception
{
    using Exception::Exception;
};

// A file could not be opened, created or read.
class EFileError : public Exception
{
    using Exception::Exception;
};
