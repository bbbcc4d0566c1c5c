#include "sftp_wire.h"

#include "sftp_messages.h"

#include <QtEndian>
#include <cstring>

namespace corvexo::sftp {

namespace {

void appendU32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

constexpr quint32 SizeFlag = 0x1, OwnerFlag = 0x2, PermissionsFlag = 0x4, TimesFlag = 0x8,
                  ExtendedFlag = 0x80000000;

} // namespace

SftpFields &SftpFields::u32(quint32 value)
{
    appendU32(bytes_, value);
    return *this;
}

SftpFields &SftpFields::u64(quint64 value)
{
    appendU32(bytes_, quint32(value >> 32));
    appendU32(bytes_, quint32(value));
    return *this;
}

SftpFields &SftpFields::string(QByteArrayView bytes)
{
    appendU32(bytes_, quint32(bytes.size()));
    bytes_.append(bytes);
    return *this;
}

bool SftpReader::take(qsizetype count)
{
    if (!ok_ || count < 0 || bytes_.size() - at_ < count) return ok_ = false;
    return true;
}

quint32 SftpReader::u32()
{
    if (!take(4)) return 0;
    const quint32 value = qFromBigEndian<quint32>(bytes_.data() + at_);
    at_ += 4;
    return value;
}

quint64 SftpReader::u64()
{
    const quint64 high = u32();
    return (high << 32) | u32();
}

QByteArrayView SftpReader::stringView()
{
    const quint32 length = u32();
    if (!take(qsizetype(length))) return {};
    const QByteArrayView view = bytes_.sliced(at_, length);
    at_ += length;
    return view;
}

QByteArray SftpReader::string()
{
    return stringView().toByteArray();
}

SftpAttributes SftpReader::attributes()
{
    SftpAttributes attributes;
    const quint32 flags = u32();
    if (flags & SizeFlag) attributes.size = u64();
    if (flags & OwnerFlag) u64();
    if (flags & PermissionsFlag) attributes.permissions = u32();
    if (flags & TimesFlag) {
        u32();   // access time
        attributes.modified = u32();
    }
    if (flags & ExtendedFlag) {
        for (quint32 count = u32(); ok_ && count > 0; --count) {
            stringView();
            stringView();
        }
    }
    return attributes;
}

quint32 SftpReply::status() const
{
    if (type != Packet::Status) return Status::Failure;
    SftpReader reader(body);
    const quint32 code = reader.u32();
    return reader.ok() ? code : Status::BadMessage;
}

QString SftpReply::statusText() const
{
    if (type != Packet::Status) return {};
    SftpReader reader(body);
    reader.u32();
    return QString::fromUtf8(reader.stringView());
}

bool SftpWire::init()
{
    QByteArray packet;
    appendU32(packet, 5);
    packet.append(char(Packet::Init));
    appendU32(packet, 3);
    if (!writeAll(packet.constData(), packet.size())) return false;
    SftpReply reply;
    if (!receive(&reply)) return false;
    if (reply.type != Packet::Version) {
        error_ = sftpText(SftpText::NotSftp);
        return false;
    }
    // The version took the place of an id; the extensions follow it as pairs of strings.
    SftpReader extensions(reply.body);
    while (extensions.ok()) {
        const QByteArrayView name = extensions.stringView();
        extensions.stringView();
        if (extensions.ok() && name == "limits@openssh.com") return learnLimits(), true;
    }
    return true;
}

void SftpWire::learnLimits()
{
    SftpReply reply;
    if (!call(Packet::Extended, SftpFields().string("limits@openssh.com").bytes(), &reply)) return;
    if (reply.type != Packet::ExtendedReply) return;
    SftpReader limits(reply.body);
    limits.u64();   // the packet length
    const quint64 read = limits.u64();
    const quint64 write = limits.u64();
    // Zero means no limit told; the reply's own ceiling bounds a read all the same.
    constexpr quint64 Largest = MaxReplyBytes - 1024;
    if (!limits.ok()) return;
    if (read > 0) readLimit_ = qsizetype(std::min(read, Largest));
    if (write > 0) writeLimit_ = qsizetype(std::min(write, Largest));
}

std::optional<quint32> SftpWire::send(quint8 type, const QByteArray &body)
{
    const quint32 id = nextId_++;
    QByteArray packet;
    packet.reserve(9 + body.size());
    appendU32(packet, quint32(5 + body.size()));
    packet.append(char(type));
    appendU32(packet, id);
    packet.append(body);
    if (!writeAll(packet.constData(), packet.size())) return std::nullopt;
    return id;
}

std::optional<quint32> SftpWire::sendWrite(const QByteArray &handle, quint64 offset, QByteArrayView data)
{
    const quint32 id = nextId_++;
    SftpFields head;
    head.u32(quint32(1 + 4 + 4 + handle.size() + 8 + 4 + data.size()));
    QByteArray fields = head.bytes();
    fields.append(char(Packet::Write));
    appendU32(fields, id);
    fields += SftpFields().string(handle).u64(offset).u32(quint32(data.size())).bytes();
    if (!writeAll(fields.constData(), fields.size()) || !writeAll(data.data(), data.size())) return std::nullopt;
    return id;
}

bool SftpWire::receive(SftpReply *reply)
{
    char head[4];
    if (!readExactly(head, 4)) return false;
    const quint32 length = qFromBigEndian<quint32>(head);
    if (length < 5 || length > MaxReplyBytes) {
        error_ = sftpText(SftpText::MalformedPacket);
        return false;
    }
    // The type and id first, so that the body (a read's data) is read straight into its place.
    char typeAndId[5];
    if (!readExactly(typeAndId, 5)) return false;
    reply->type = quint8(typeAndId[0]);
    reply->id = qFromBigEndian<quint32>(typeAndId + 1);
    reply->body.resize(qsizetype(length) - 5);
    return readExactly(reply->body.data(), reply->body.size());
}

bool SftpWire::call(quint8 type, const QByteArray &body, SftpReply *reply)
{
    const std::optional<quint32> id = send(type, body);
    if (!id) return false;
    // Only one request is out at a time on this path, so the next reply is its answer.
    if (!receive(reply)) return false;
    if (reply->id != *id) {
        error_ = sftpText(SftpText::MalformedPacket);
        return false;
    }
    return true;
}

bool SftpWire::writeAll(const char *data, qsizetype size)
{
    while (size > 0) {
        const int written = ssh_channel_write(channel_, data, uint32_t(std::min<qsizetype>(size, 1 << 20)));
        if (written <= 0) {
            error_ = QString::fromUtf8(ssh_get_error(ssh_channel_get_session(channel_)));
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool SftpWire::readExactly(char *data, qsizetype size)
{
    while (size > 0) {
        if (inboxFrom_ == inboxTo_ && !fillInbox()) return false;
        const qsizetype taken = std::min(size, inboxTo_ - inboxFrom_);
        std::memcpy(data, inbox_.data() + inboxFrom_, size_t(taken));
        inboxFrom_ += taken;
        data += taken;
        size -= taken;
    }
    return true;
}

bool SftpWire::fillInbox()
{
    inboxFrom_ = inboxTo_ = 0;
    while (true) {
        // Returns once at least one byte is there, with as many as have come.
        const int got = ssh_channel_read(channel_, inbox_.data(), uint32_t(inbox_.size()), 0);
        if (got < 0) {
            error_ = QString::fromUtf8(ssh_get_error(ssh_channel_get_session(channel_)));
            return false;
        }
        if (got > 0) {
            inboxTo_ = got;
            return true;
        }
        if (ssh_channel_is_eof(channel_) || !ssh_channel_is_open(channel_)) {
            error_ = sftpText(SftpText::ChannelClosed);
            return false;
        }
    }
}

} // namespace corvexo::sftp
