#include "platform/Streams.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <exception>

namespace platform {

namespace {
constexpr qint64 ChunkBytes = 64 * 1024;
constexpr qsizetype MaxLineBytes = 64 * 1024 * 1024;

// Finishes a file device: a QSaveFile replaces its target only when everything was written. Writes
// are buffered, so a full disk may show only when the buffer goes out: that is checked before the new
// file may replace the old one (the commit alone would not refuse it).
bool finish(QFileDevice& file, bool keep) {
    if (auto* save = qobject_cast<QSaveFile*>(&file)) {
        if (!keep || !save->flush() || save->error() != QFileDevice::NoError) {
            save->cancelWriting();
            save->commit();
            return false;
        }
        return save->commit();
    }
    const bool ok = file.flush() && file.error() == QFileDevice::NoError;
    file.close();
    return ok;
}
} // namespace

TextInputStream::TextInputStream(std::unique_ptr<QFileDevice> file) : file_(std::move(file)) {}

TextInputStream::~TextInputStream() = default;

bool TextInputStream::fill() {
    buffer_.clear();
    next_ = 0;
    if (file_ && file_->isOpen())
        buffer_ = file_->read(ChunkBytes);
    return !buffer_.isEmpty();
}

QString TextInputStream::ReadLine() {
    QByteArray line;
    for (;;) {
        if (next_ >= buffer_.size() && !fill())
            break;
        const char* bytes = buffer_.constData();
        const qsizetype size = buffer_.size();
        qsizetype end = next_;
        while (end < size && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        const qsizetype room = MaxLineBytes - line.size();
        line.append(bytes + next_, std::min(end - next_, room));
        next_ = end;
        if (end == size)
            continue;
        const char ending = bytes[next_++];
        if (ending == '\r') {
            if (next_ >= buffer_.size())
                fill();
            if (next_ < buffer_.size() && buffer_[next_] == '\n')
                ++next_;
        }
        break;
    }
    return QString::fromUtf8(line);
}

QString TextInputStream::ReadAll() {
    QByteArray rest = buffer_.mid(next_);
    buffer_.clear();
    next_ = 0;
    if (file_ && file_->isOpen())
        rest += file_->readAll();
    return QString::fromUtf8(rest);
}

bool TextInputStream::Eof() const {
    return next_ >= buffer_.size() && (!file_ || !file_->isOpen() || file_->atEnd());
}

void TextInputStream::Close() {
    buffer_.clear();
    next_ = 0;
    if (file_)
        file_->close();
}

TextOutputStream::TextOutputStream(std::unique_ptr<QSaveFile> file)
    : file_(std::move(file)), exceptionsAtStart_(std::uncaught_exceptions()) {}

TextOutputStream::~TextOutputStream() {
    if (!closed_ && file_)
        finish(*file_, std::uncaught_exceptions() <= exceptionsAtStart_);
}

void TextOutputStream::Write(const QString& text) {
    put(text.toUtf8());
}

void TextOutputStream::WriteLine(const QString& text) {
    put((text + QLatin1Char('\n')).toUtf8());
}

void TextOutputStream::put(const QByteArray& bytes) {
    if (!closed_ && !failed_ && file_->write(bytes) != bytes.size()) {
        failed_ = true;
        error_ = file_->errorString();
    }
}

bool TextOutputStream::Close() {
    if (!closed_) {
        closed_ = true;
        result_ = finish(*file_, !failed_);
        if (!result_ && error_.isEmpty())
            error_ = file_->errorString();
    }
    return result_;
}

BinaryStream::BinaryStream(std::unique_ptr<QFileDevice> file, bool writable)
    : file_(std::move(file)), writable_(writable), exceptionsAtStart_(std::uncaught_exceptions()) {}

BinaryStream::~BinaryStream() {
    if (!closed_ && file_)
        finish(*file_, std::uncaught_exceptions() <= exceptionsAtStart_);
}

QByteArray BinaryStream::Read(qint64 count) {
    if (closed_ || count <= 0 || !(file_->openMode() & QIODevice::ReadOnly))
        return {};
    return file_->read(std::min(count, std::max<qint64>(file_->size() - file_->pos(), 0)));
}

int BinaryStream::ReadByte() {
    return int(readNumber(1));
}

std::int16_t BinaryStream::ReadShort() {
    return std::int16_t(readNumber(2));
}

std::int32_t BinaryStream::ReadLong() {
    return std::int32_t(readNumber(4));
}

std::int64_t BinaryStream::readNumber(int bytes) {
    const QByteArray data = Read(bytes);
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        const int at = LittleEndian ? bytes - 1 - i : i;
        const std::uint8_t b = at < data.size() ? std::uint8_t(data[at]) : 0;
        value = (value << 8) | b;
    }
    return std::int64_t(value);
}

qint64 BinaryStream::Position() const {
    return closed_ ? 0 : file_->pos();
}

void BinaryStream::SetPosition(qint64 position) {
    if (!closed_)
        file_->seek(std::max<qint64>(position, 0));
}

qint64 BinaryStream::Length() const {
    return closed_ ? 0 : file_->size();
}

bool BinaryStream::Eof() const {
    return closed_ || file_->pos() >= file_->size();
}

bool BinaryStream::Close() {
    if (!closed_) {
        closed_ = true;
        result_ = finish(*file_, true);
    }
    return result_;
}

} // namespace platform
