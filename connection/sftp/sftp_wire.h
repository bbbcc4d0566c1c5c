#pragma once
// SFTP version 3 on an SSH channel: packets out, packets in, and the fields
// they carry. Blocking; used only on a session's worker thread. Names and
// paths are the server's bytes, never decoded here.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <algorithm>
#include <optional>
#include <vector>

#include <libssh/libssh.h>

namespace corvexo::sftp {

namespace Packet {
enum : quint8 {
    Init = 1, Version = 2, Open = 3, Close = 4, Read = 5, Write = 6, Lstat = 7, Fstat = 8,
    Opendir = 11, Readdir = 12, Remove = 13, Mkdir = 14, Rmdir = 15, Realpath = 16, Stat = 17,
    Rename = 18, Extended = 200,
    Status = 101, Handle = 102, Data = 103, Name = 104, Attrs = 105, ExtendedReply = 201,
};
}

namespace Status {
enum : quint32 {
    Ok = 0, Eof = 1, NoSuchFile = 2, PermissionDenied = 3, Failure = 4, BadMessage = 5,
    NoConnection = 6, ConnectionLost = 7, Unsupported = 8,
};
}

namespace OpenFlag {
enum : quint32 { Read = 0x01, Write = 0x02, Create = 0x08, Truncate = 0x10 };
}

struct SftpAttributes {
    std::optional<quint64> size;
    std::optional<quint32> permissions;
    std::optional<quint32> modified;   // seconds since 1970, UTC

    bool isFolder() const { return permissions && (*permissions & 0170000) == 0040000; }
    bool isLink() const { return permissions && (*permissions & 0170000) == 0120000; }
};

// Builds a request's body, field by field.
class SftpFields {
public:
    SftpFields &u32(quint32 value);
    SftpFields &u64(quint64 value);
    SftpFields &string(QByteArrayView bytes);
    SftpFields &noAttributes() { return u32(0); }
    const QByteArray &bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

// Reads a reply's fields in order; any read past the end makes ok() false.
class SftpReader {
public:
    explicit SftpReader(QByteArrayView bytes) : bytes_(bytes) {}
    quint32 u32();
    quint64 u64();
    QByteArray string();
    QByteArrayView stringView();
    SftpAttributes attributes();
    bool ok() const { return ok_; }

private:
    bool take(qsizetype count);
    QByteArrayView bytes_;
    qsizetype at_ = 0;
    bool ok_ = true;
};

struct SftpReply {
    quint8 type = 0;
    quint32 id = 0;
    QByteArray body;   // after the id
    // A status reply's code and message; for another type, Failure and an empty text.
    quint32 status() const;
    QString statusText() const;
};

class SftpWire {
public:
    static constexpr qsizetype MaxReplyBytes = 1 << 20;

    explicit SftpWire(ssh_channel channel) : channel_(channel) {}

    // Sends INIT and reads the server's VERSION; learns the server's limits when it tells them.
    bool init();
    // The largest READ and WRITE the server takes: 32 KiB, which every server must,
    // unless it told larger ones (limits@openssh.com); never more than cap.
    qsizetype readLimit(qsizetype cap) const { return std::min(cap, readLimit_); }
    qsizetype writeLimit(qsizetype cap) const { return std::min(cap, writeLimit_); }
    // Sends a request and returns its id; nothing when the channel failed.
    std::optional<quint32> send(quint8 type, const QByteArray &body);
    // Sends a WRITE without copying the data into another buffer first.
    std::optional<quint32> sendWrite(const QByteArray &handle, quint64 offset, QByteArrayView data);
    // Waits for the next reply, whichever request it answers.
    bool receive(SftpReply *reply);
    // One request and its reply; false when the channel failed.
    bool call(quint8 type, const QByteArray &body, SftpReply *reply);
    // Why the channel failed.
    QString errorText() const { return error_; }

private:
    bool writeAll(const char *data, qsizetype size);
    bool readExactly(char *data, qsizetype size);
    bool fillInbox();
    // Replies are read in large pieces: a read of many bytes is also what lets the server
    // have that many bytes in flight (the channel's window grows to the size asked for).
    static constexpr qsizetype InboxBytes = 4 << 20;
    std::vector<char> inbox_ = std::vector<char>(InboxBytes);
    qsizetype inboxFrom_ = 0, inboxTo_ = 0;
    void learnLimits();
    quint32 nextId_ = 1;
    qsizetype readLimit_ = 32 * 1024;
    qsizetype writeLimit_ = 32 * 1024;
    ssh_channel channel_;
    QString error_;
};

} // namespace corvexo::sftp
