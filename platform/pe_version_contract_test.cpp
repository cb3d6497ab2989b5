#include "platform/pe_version_contract_test.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kFixedInfoSignature[] = "\xBD\x04\xEF\xFE";

std::optional<std::string> ReadProbe(const std::filesystem::path& top, const std::string& name) {
  const auto path = VersionProbe(top, name);
  if (!path) return std::nullopt;
  std::ifstream in(*path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put16(std::string& bytes, std::size_t at, uint16_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& bytes, std::size_t at, uint32_t value) {
  Put16(bytes, at, static_cast<uint16_t>(value & 0xFFFF));
  Put16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

// A PE image made here: the headers and one resource section holding one version resource
// (type 16, name 1, language 0x409) with the fixed file information of `version`.
std::string SyntheticImage(bool pe32Plus, FileVersion version) {
  std::string image(0x400, '\0');
  Put16(image, 0, 0x5A4D);
  Put32(image, 0x3C, 0x80);
  Put32(image, 0x80, 0x00004550);
  const std::size_t coff = 0x84, optional = coff + 20;
  const uint16_t optionalSize = pe32Plus ? 240 : 224;
  Put16(image, coff, pe32Plus ? 0x8664 : 0x014C);
  Put16(image, coff + 2, 1);
  Put16(image, coff + 16, optionalSize);
  Put16(image, coff + 18, pe32Plus ? 0x0022 : 0x0102);
  Put16(image, optional, pe32Plus ? 0x20B : 0x10B);
  if (pe32Plus) {
    Put32(image, optional + 24, 0x40000000);
  } else {
    Put32(image, optional + 28, 0x400000);
  }
  Put32(image, optional + 32, 0x1000);  // section alignment
  Put32(image, optional + 36, 0x200);   // file alignment
  Put16(image, optional + 40, 4);       // operating system version
  Put16(image, optional + 48, 4);       // subsystem version
  Put32(image, optional + 56, 0x2000);  // size of image
  Put32(image, optional + 60, 0x200);   // size of headers
  Put16(image, optional + 68, 2);       // Windows GUI
  const std::size_t directories = optional + (pe32Plus ? 112 : 96);
  Put32(image, directories - 4, 16);
  Put32(image, directories + 16, 0x1000);  // the resource directory
  Put32(image, directories + 20, 0xB4);
  const std::size_t section = optional + optionalSize;
  image.replace(section, 5, ".rsrc");
  Put32(image, section + 8, 0xB4);
  Put32(image, section + 12, 0x1000);
  Put32(image, section + 16, 0x200);
  Put32(image, section + 20, 0x200);
  Put32(image, section + 36, 0x40000040);

  const std::size_t r = 0x200;
  Put16(image, r + 14, 1);  // the types: one, by id
  Put32(image, r + 16, 16);
  Put32(image, r + 20, 0x80000018);
  Put16(image, r + 0x18 + 14, 1);  // the names
  Put32(image, r + 0x18 + 16, 1);
  Put32(image, r + 0x18 + 20, 0x80000030);
  Put16(image, r + 0x30 + 14, 1);  // the languages
  Put32(image, r + 0x30 + 16, 0x409);
  Put32(image, r + 0x30 + 20, 0x48);
  Put32(image, r + 0x48, 0x1000 + 0x58);  // the data entry: RVA and size
  Put32(image, r + 0x48 + 4, 92);
  const std::size_t block = r + 0x58;
  Put16(image, block, 92);
  Put16(image, block + 2, 52);
  const char key[] = "VS_VERSION_INFO";
  for (std::size_t i = 0; key[i] != '\0'; ++i) Put16(image, block + 6 + 2 * i, key[i]);
  const std::size_t fixed = block + 40;
  Put32(image, fixed, 0xFEEF04BD);
  Put32(image, fixed + 4, 0x00010000);
  Put32(image, fixed + 8, static_cast<uint32_t>(version.major) << 16 | version.minor);
  Put32(image, fixed + 12, static_cast<uint32_t>(version.build) << 16 | version.revision);
  Put32(image, fixed + 16, 0x00090008);  // the product version differs on purpose
  Put32(image, fixed + 20, 0x00070006);
  return image;
}

// Where the fixed file information begins: at its signature.
std::size_t FixedInfoOffset(const std::string& image) { return image.find(kFixedInfoSignature); }

}  // namespace

void PeVersionContract::SetUp() {
  m_probe2401 = ReadProbe(m_directory.Previous(), "probe-2.4.0.1.exe");
  m_probe3172 = ReadProbe(m_directory.Previous(), "probe-3.1.7.2.exe");
  m_unversioned = ReadProbe(m_directory.Previous(), "probe-unversioned.exe");
}

TEST_P(PeVersionContract, ReadsTheFileVersionOfTheProbes) {
  if (!m_probe2401 || !m_probe3172 || !m_unversioned) GTEST_SKIP() << "no version probes";
  struct Case {
    const std::string* bytes;
    std::optional<FileVersion> expected;
  };
  const Case kCases[] = {
      {&*m_probe2401, FileVersion{2, 4, 0, 1}},
      {&*m_probe3172, FileVersion{3, 1, 7, 2}},
      {&*m_unversioned, std::nullopt},
  };
  for (const Case& c : kCases) {
    TestWorkDirectory::Put("probe.exe", *c.bytes);
    EXPECT_EQ(Reader().Read("probe.exe"), c.expected) << c.bytes->size() << " bytes";
  }
}

TEST_P(PeVersionContract, ReadsImagesOfBothFormats) {
  struct Case {
    bool pe32Plus;
    FileVersion version;
  };
  const Case kCases[] = {{false, {2, 4, 0, 1}}, {true, {3, 1, 7, 2}}, {false, {65535, 0, 1, 0}}};
  for (const Case& c : kCases) {
    TestWorkDirectory::Put("image.exe", SyntheticImage(c.pe32Plus, c.version));
    EXPECT_EQ(Reader().Read("image.exe"), c.version) << (c.pe32Plus ? "PE32+" : "PE32");
  }
}

TEST_P(PeVersionContract, GivesNothingForFilesWithoutAReadableVersion) {
  std::string notPe(4096, '\xAB');
  notPe[0] = 'M', notPe[1] = 'Z';
  std::string farHeader = notPe;  // e_lfanew far beyond the end of the file
  Put32(farHeader, 0x3C, 0x7FFFFFF0);
  std::string badSignature = SyntheticImage(false, {2, 4, 0, 1});
  Put32(badSignature, FixedInfoOffset(badSignature), 0xFEEF04BC);
  // The root block's value length sits 38 bytes before its value.
  std::string noRootValue = SyntheticImage(false, {2, 4, 0, 1});
  Put16(noRootValue, FixedInfoOffset(noRootValue) - 38, 0);
  std::string shortRootValue = SyntheticImage(false, {2, 4, 0, 1});
  Put16(shortRootValue, FixedInfoOffset(shortRootValue) - 38, 51);
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case kCases[] = {
      {"empty", ""},
      {"MZ only", "MZ"},
      {"MZ and garbage", notPe},
      {"PE header beyond the end", farHeader},
      {"text", "START-OF-LOG: 3.0\r\n"},
      {"wrong signature", badSignature},
      {"root without value", noRootValue},
      {"root value too short", shortRootValue},
  };
  for (const Case& c : kCases) {
    TestWorkDirectory::Put("Tulm.exe", c.bytes);
    EXPECT_EQ(Reader().Read("Tulm.exe"), std::nullopt) << c.name;
  }
  EXPECT_EQ(Reader().Read("missing.exe"), std::nullopt);
  std::filesystem::create_directory("folder.exe");
  EXPECT_EQ(Reader().Read("folder.exe"), std::nullopt);
}

// Each part of `read` is that of `version` or, where the file ended before it, zero.
bool IsVersionOrZeroFilled(const FileVersion& read, const FileVersion& version) {
  return (read.major == version.major || read.major == 0) &&
         (read.minor == version.minor || read.minor == 0) &&
         (read.build == version.build || read.build == 0) &&
         (read.revision == version.revision || read.revision == 0);
}

TEST_P(PeVersionContract, GivesNothingOrTheVersionForACutFile) {
  std::vector<std::pair<std::string, FileVersion>> images = {
      {SyntheticImage(false, {2, 4, 0, 1}), {2, 4, 0, 1}}};
  if (m_probe3172) images.emplace_back(*m_probe3172, FileVersion{3, 1, 7, 2});
  for (const auto& [image, version] : images) {
    const std::size_t signatureEnd = FixedInfoOffset(image) + 4;
    const std::size_t fixedEnd = signatureEnd + 48;
    ASSERT_LE(fixedEnd, image.size());
    // Every length through the headers and around the version block; a sample elsewhere.
    for (std::size_t length = 0; length < image.size();) {
      TestWorkDirectory::Put("cut.exe", image.substr(0, length));
      const std::optional<FileVersion> read = Reader().Read("cut.exe");
      const std::string where = std::to_string(length) + " of " + std::to_string(image.size());
      if (length < signatureEnd) {
        EXPECT_EQ(read, std::nullopt) << where;
      } else if (read && length < fixedEnd) {
        EXPECT_TRUE(IsVersionOrZeroFilled(*read, version)) << where;
      } else if (read) {
        EXPECT_EQ(*read, version) << where;
      }
      const bool dense = length < 0x400 || (length + 64 > fixedEnd && length < fixedEnd + 64);
      length += dense ? 1 : 97;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Portable, PeVersionContract, ::testing::Values(&PortablePeVersionReader),
                         [](const auto&) { return std::string("Portable"); });

// Where version.dll fills the missing end of a cut file with zeros, ours gives nothing.
TEST(PortablePeVersionReader, GivesNothingForAFileCutInsideTheFixedFileInformation) {
  TestWorkDirectory directory;
  const std::string image = SyntheticImage(false, {2, 4, 0, 1});
  const std::size_t fixed = FixedInfoOffset(image);
  for (std::size_t length = fixed; length < fixed + 52; ++length) {
    TestWorkDirectory::Put("cut.exe", image.substr(0, length));
    EXPECT_EQ(PortablePeVersionReader().Read("cut.exe"), std::nullopt) << length;
  }
  TestWorkDirectory::Put("cut.exe", image.substr(0, fixed + 52));
  EXPECT_EQ(PortablePeVersionReader().Read("cut.exe"), (FileVersion{2, 4, 0, 1}));
}

// Our reader takes any file: damaged copies of real images never make it read outside the file
// or misbehave (the sanitizer build watches every access), and it never invents a version from
// a file without a fixed file information signature.
TEST(PortablePeVersionReader, SurvivesDamagedImages) {
  TestWorkDirectory directory;
  std::vector<std::string> images = {SyntheticImage(false, {2, 4, 0, 1}),
                                     SyntheticImage(true, {3, 1, 7, 2})};
  if (auto probe = ReadProbe(directory.Previous(), "probe-2.4.0.1.exe")) images.push_back(*probe);
  std::mt19937 random(20250101);
  for (const std::string& image : images) {
    for (int round = 0; round < 400; ++round) {
      std::string damaged = image;
      const int changes = 1 + static_cast<int>(random() % 8);
      for (int i = 0; i < changes; ++i) {
        // Mostly the headers and the resource tree, where the offsets are.
        const std::size_t at = random() % 2 == 0
                                   ? random() % std::min<std::size_t>(0x400, image.size())
                                   : random() % image.size();
        damaged[at] = static_cast<char>(random());
      }
      TestWorkDirectory::Put("damaged.exe", damaged);
      const std::optional<FileVersion> read = PortablePeVersionReader().Read("damaged.exe");
      if (read) {
        EXPECT_NE(damaged.find(kFixedInfoSignature), std::string::npos) << round;
      }
    }
  }
}
