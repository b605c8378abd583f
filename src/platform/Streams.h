// Text and binary file streams. Text is UTF-8; lines are written with "\n" and read up to "\n", "\r\n"
// or "\r". A stream that writes a whole file replaces the old one only when it is closed successfully.
// The framework's EOF is spelt Eof here: EOF is a macro of the C library.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

class QFileDevice;
class QSaveFile;

namespace platform {

class TextInputStream {
public:
    explicit TextInputStream(std::unique_ptr<QFileDevice> file);
    ~TextInputStream();

    // The next line without its line end; "" past the end. A line longer than 64 MiB keeps only its
    // first 64 MiB.
    QString ReadLine();
    // Everything from the current position to the end, as it is.
    QString ReadAll();
    bool Eof() const;
    void Close();

private:
    bool fill();

    std::unique_ptr<QFileDevice> file_;
    QByteArray buffer_;
    qsizetype next_ = 0; // first unread byte of buffer_
};

class TextOutputStream {
public:
    explicit TextOutputStream(std::unique_ptr<QSaveFile> file);
    // Closes the stream, unless it is dropped while an exception passes: then the old file is kept.
    ~TextOutputStream();

    void Write(const QString& text);
    void WriteLine(const QString& text);
    // True when everything was written and the new file has replaced the old one. Otherwise the old
    // file stays as it was and ErrorString tells why.
    bool Close();
    QString ErrorString() const { return error_; }

private:
    void put(const QByteArray& bytes);

    std::unique_ptr<QSaveFile> file_;
    int exceptionsAtStart_;
    bool closed_ = false;
    bool failed_ = false;
    bool result_ = false;
    QString error_;
};

// Reads and writes bytes and whole numbers. LittleEndian chooses the byte order of ReadShort and
// ReadLong; big-endian by default. Reading past the end gives fewer bytes, and missing bytes of a
// number count as 0.
class BinaryStream {
public:
    // writable: a stream opened read-only ignores writes.
    BinaryStream(std::unique_ptr<QFileDevice> file, bool writable);
    ~BinaryStream();

    bool LittleEndian = false;

    QByteArray Read(qint64 count);
    int ReadByte(); // 0 to 255
    std::int16_t ReadShort();
    std::int32_t ReadLong();

    qint64 Position() const;
    void SetPosition(qint64 position);
    qint64 Length() const;
    bool Eof() const;
    // For a newly created file, true when it was written completely and replaced any old file.
    bool Close();

private:
    std::int64_t readNumber(int bytes);

    std::unique_ptr<QFileDevice> file_;
    bool writable_;
    int exceptionsAtStart_;
    bool closed_ = false;
    bool result_ = false;
};

} // namespace platform
