// Port input and output: widths, truncation and sign extension through the in-memory port
// space, a recording backend and a port file; the real backend refusing without privileges.
// No test ever writes to the real /dev/port.
#include "sigmora.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Installs a backend for one test and puts the default back afterwards.
class Installed {
  public:
    explicit Installed(SigmoraPortBackend *b) : b_(b) { SetPortBackend(b); }
    ~Installed() {
        SetPortBackend(nullptr);
        FreePortBackend(b_);
    }
    Installed(const Installed &) = delete;
    Installed &operator=(const Installed &) = delete;

  private:
    SigmoraPortBackend *b_;
};

// A backend of the test's own that records every access.
struct Access {
    bool write;
    uint16_t port;
    int32_t bytes;
    uint32_t value;
};

struct Recorder {
    std::vector<Access> log;
    uint32_t answer = 0;
    SigmoraPortBackend backend{this, readOp, writeOp};
    static int32_t readOp(void *user, uint16_t port, int32_t bytes, uint32_t *value) {
        Recorder &r = *static_cast<Recorder *>(user);
        r.log.push_back({false, port, bytes, 0});
        *value = r.answer;
        return 1;
    }
    static int32_t writeOp(void *user, uint16_t port, int32_t bytes, uint32_t value) {
        static_cast<Recorder *>(user)->log.push_back({true, port, bytes, value});
        return 1;
    }
};

}  // namespace

TEST(Ports, MemoryPortSpaceGivesTheWidthsAndExtensions) {
    Installed ports(CreateMemoryPorts());
    OutPortX(0x300, 0xF0, 0);
    EXPECT_EQ(InPortX(0x300, 5), -16);  // any other width code: a signed byte
    EXPECT_EQ(InPortX(0x300, 0), 240);
    EXPECT_EQ(InPortX(0x300, -1), -16);

    OutPortX(0x310, 0x12345678, 1);  // the low 16 bits only
    EXPECT_EQ(InPortX(0x310, 2), 0x5678);
    EXPECT_EQ(InPortX(0x310, 0), 0x78);
    EXPECT_EQ(InPortX(0x311, 0), 0x56);
    EXPECT_EQ(InPortX(0x312, 0), 0);

    OutPortX(0x320, -2, 2);  // all 32 bits
    EXPECT_EQ(InPortX(0x320, 2), -2);
    EXPECT_EQ(InPortX(0x320, 1), 0xFFFE);
    EXPECT_EQ(InPortX(0x322, 1), 0xFFFF);

    OutPortX(0x330, 0x1FF, 0);  // the low 8 bits only
    EXPECT_EQ(InPortX(0x330, 1), 0xFF);
    OutPortX(0x340, 0x17F, 9);
    EXPECT_EQ(InPortX(0x340, 1), 0x7F);
    EXPECT_EQ(InPortX(0x340, 3), 127);

    // The top of the space: a wide access there works like any other.
    OutPortX(0xFFFF, 0x0A0B0C0D, 2);
    EXPECT_EQ(InPortX(0xFFFF, 2), 0x0A0B0C0D);
    EXPECT_EQ(InPortX(0xFFFF, 0), 0x0D);
}

TEST(Ports, EachCallIsOneAccessOfItsWidth) {
    Recorder rec;
    ASSERT_EQ(SetPortBackend(&rec.backend), nullptr);
    OutPortX(0x378, 0x12345678, 1);
    OutPortX(0x379, 0x12345678, 0);
    OutPortX(0x37A, 0x12345678, 2);
    OutPortX(0x37B, 0x12345678, 4);
    rec.answer = 0xFFFFFF80u;
    EXPECT_EQ(InPortX(0x60, 0), 0x80);
    EXPECT_EQ(InPortX(0x60, 1), 0xFF80);
    EXPECT_EQ(InPortX(0x60, 2), -128);
    EXPECT_EQ(InPortX(0x60, 7), -128);
    EXPECT_EQ(SetPortBackend(nullptr), &rec.backend);
    const std::vector<Access> want = {{true, 0x378, 2, 0x5678},     {true, 0x379, 1, 0x78},
                                      {true, 0x37A, 4, 0x12345678}, {true, 0x37B, 1, 0x78},
                                      {false, 0x60, 1, 0},          {false, 0x60, 2, 0},
                                      {false, 0x60, 4, 0},          {false, 0x60, 1, 0}};
    ASSERT_EQ(rec.log.size(), want.size());
    for (size_t k = 0; k < want.size(); ++k) {
        EXPECT_EQ(rec.log[k].write, want[k].write) << k;
        EXPECT_EQ(rec.log[k].port, want[k].port) << k;
        EXPECT_EQ(rec.log[k].bytes, want[k].bytes) << k;
        EXPECT_EQ(rec.log[k].value, want[k].value) << k;
    }
}

TEST(Ports, DeviceBackendReadsAndWritesAPortFileAtThePortOffset) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("sigmora_ports_" + std::to_string(getpid()));
    {
        std::ofstream out(file, std::ios::binary);
        out << std::string(65536, '\0');
    }
    Installed ports(CreateDevicePorts(file.c_str()));
    OutPortX(0x100, 0x12345678, 1);
    OutPortX(0x200, 0xF0, 0);
    EXPECT_EQ(InPortX(0x100, 2), 0x5678);
    EXPECT_EQ(InPortX(0x200, 6), -16);
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), 65536u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0x100]), 0x78);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0x101]), 0x56);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0x102]), 0x00);
    // Beyond the end of the file an access is refused: it reads 0.
    EXPECT_EQ(InPortX(0xFFFF, 2), 0);
    std::filesystem::remove(file);
}

TEST(Ports, BackendThatCannotOpenItsDeviceRefusesCleanly) {
    Installed ports(CreateDevicePorts("/nonexistent-folder/port"));
    OutPortX(0x80, 0x55, 0);
    for (int32_t mark : {0, 1, 2, 5}) EXPECT_EQ(InPortX(0x80, mark), 0) << mark;
    EXPECT_EQ(CreateDevicePorts(nullptr), nullptr);
    EXPECT_EQ(CreateDevicePorts(""), nullptr);
}

TEST(Ports, DefaultBackendRefusesWithoutPrivileges) {
    SetPortBackend(nullptr);
    const int fd = open("/dev/port", O_RDONLY);
    if (fd >= 0) {
        close(fd);
        GTEST_SKIP() << "this process may read /dev/port; the refusal cannot be shown here";
    }
    // Reads only: a test never writes to real ports.
    EXPECT_EQ(InPortX(0x80, 0), 0);
    EXPECT_EQ(InPortX(0x80, 2), 0);
    EXPECT_EQ(InPortX(0x80, 9), 0);
}

TEST(Ports, FreeingTheInstalledBackendFallsBackToTheDefault) {
    SigmoraPortBackend *mem = CreateMemoryPorts();
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(SetPortBackend(mem), nullptr);
    FreePortBackend(mem);
    EXPECT_EQ(SetPortBackend(nullptr), nullptr);  // the default was back in force
    FreePortBackend(nullptr);
}
