// ports.cpp - processor port input and output through a replaceable backend: /dev/port by
// default (refused without privileges), an in-memory port space, or the caller's own.
#include "sigmora.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr uint32_t kPortCount = 65536;

// An access of 1, 2 or 4 bytes; other widths are refused by every backend here.
bool widthOk(int32_t bytes) { return bytes == 1 || bytes == 2 || bytes == 4; }

// In-memory port space: ports 0 .. 65535, with three more bytes so that a wide access at the
// top of the space stays inside the array.
struct MemoryPorts {
    SigmoraPortBackend backend{};
    uint8_t bytes[kPortCount + 3] = {};
};

int32_t memoryRead(void *user, uint16_t port, int32_t bytes, uint32_t *value) {
    if (!widthOk(bytes) || !value)
        return 0;
    const uint8_t *p = static_cast<MemoryPorts *>(user)->bytes + port;
    uint32_t v = 0;
    for (int32_t k = 0; k < bytes; ++k)
        v |= static_cast<uint32_t>(p[k]) << (8 * k);
    *value = v;
    return 1;
}

int32_t memoryWrite(void *user, uint16_t port, int32_t bytes, uint32_t value) {
    if (!widthOk(bytes))
        return 0;
    uint8_t *p = static_cast<MemoryPorts *>(user)->bytes + port;
    for (int32_t k = 0; k < bytes; ++k)
        p[k] = static_cast<uint8_t>(value >> (8 * k));
    return 1;
}

// A port device file (the kernel's /dev/port: file offset = port number), opened for each
// access so that nothing is held open between calls and a missing privilege is simply a failed
// open.
struct DevicePorts {
    SigmoraPortBackend backend{};
    std::string path;
};

int32_t deviceRead(void *user, uint16_t port, int32_t bytes, uint32_t *value) {
    if (!widthOk(bytes) || !value)
        return 0;
    const int fd = open(static_cast<DevicePorts *>(user)->path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    uint8_t buf[4] = {};
    const ssize_t n = pread(fd, buf, static_cast<size_t>(bytes), port);
    close(fd);
    if (n != bytes)
        return 0;
    uint32_t v = 0;
    for (int32_t k = 0; k < bytes; ++k)
        v |= static_cast<uint32_t>(buf[k]) << (8 * k);
    *value = v;
    return 1;
}

int32_t deviceWrite(void *user, uint16_t port, int32_t bytes, uint32_t value) {
    if (!widthOk(bytes))
        return 0;
    const int fd = open(static_cast<DevicePorts *>(user)->path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    uint8_t buf[4];
    for (int32_t k = 0; k < bytes; ++k)
        buf[k] = static_cast<uint8_t>(value >> (8 * k));
    const ssize_t n = pwrite(fd, buf, static_cast<size_t>(bytes), port);
    close(fd);
    return n == bytes ? 1 : 0;
}

DevicePorts *defaultPorts() {
    static DevicePorts ports = [] {
        DevicePorts p;
        p.path = "/dev/port";
        p.backend.user = nullptr;
        p.backend.read = deviceRead;
        p.backend.write = deviceWrite;
        return p;
    }();
    ports.backend.user = &ports;
    return &ports;
}

// The installed backend; null means the /dev/port default.
std::atomic<const SigmoraPortBackend *> g_backend{nullptr};

const SigmoraPortBackend *currentBackend() {
    const SigmoraPortBackend *b = g_backend.load(std::memory_order_acquire);
    return b ? b : &defaultPorts()->backend;
}

// Bytes of the access of a width code: 1 for 0 and any other code, 2 for 1, 4 for 2.
int32_t accessBytes(int32_t mark) { return mark == 1 ? 2 : mark == 2 ? 4 : 1; }

} // namespace

extern "C" {

void OutPortX(uint16_t port, int32_t value, int32_t Mark) {
    const SigmoraPortBackend *b = currentBackend();
    const int32_t bytes = accessBytes(Mark);
    uint32_t bits = static_cast<uint32_t>(value);
    if (bytes == 1)
        bits &= 0xFFu;
    else if (bytes == 2)
        bits &= 0xFFFFu;
    if (b->write)
        b->write(b->user, port, bytes, bits);
}

int32_t InPortX(uint16_t port, int32_t Mark) {
    const SigmoraPortBackend *b = currentBackend();
    const int32_t bytes = accessBytes(Mark);
    uint32_t v = 0;
    if (!b->read || !b->read(b->user, port, bytes, &v))
        return 0;
    switch (Mark) {
    case 0: return static_cast<int32_t>(v & 0xFFu);
    case 1: return static_cast<int32_t>(v & 0xFFFFu);
    case 2: return static_cast<int32_t>(v);
    default: return static_cast<int32_t>(static_cast<int8_t>(v & 0xFFu));
    }
}

const SigmoraPortBackend *SetPortBackend(const SigmoraPortBackend *backend) {
    return g_backend.exchange(backend, std::memory_order_acq_rel);
}

SigmoraPortBackend *CreateMemoryPorts(void) {
    MemoryPorts *p = new (std::nothrow) MemoryPorts;
    if (!p)
        return nullptr;
    p->backend.user = p;
    p->backend.read = memoryRead;
    p->backend.write = memoryWrite;
    return &p->backend;
}

SigmoraPortBackend *CreateDevicePorts(const char *path) {
    if (!path || !*path || std::strlen(path) > 4096)
        return nullptr;
    DevicePorts *p = new (std::nothrow) DevicePorts;
    if (!p)
        return nullptr;
    try {
        p->path = path;
    } catch (const std::bad_alloc &) {
        delete p;
        return nullptr;
    }
    p->backend.user = p;
    p->backend.read = deviceRead;
    p->backend.write = deviceWrite;
    return &p->backend;
}

void FreePortBackend(SigmoraPortBackend *backend) {
    if (!backend || backend == &defaultPorts()->backend)
        return;
    const SigmoraPortBackend *expected = backend;
    g_backend.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
    if (backend->read == memoryRead && &static_cast<MemoryPorts *>(backend->user)->backend == backend)
        delete static_cast<MemoryPorts *>(backend->user);
    else if (backend->read == deviceRead && &static_cast<DevicePorts *>(backend->user)->backend == backend)
        delete static_cast<DevicePorts *>(backend->user);
}

} // extern "C"
