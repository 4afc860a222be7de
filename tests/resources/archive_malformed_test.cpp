// Damaged archives: each row is an input and the exact error it must raise, either when the
// directory is read or when an entry is extracted. Fuzz finds join as files under malformed/.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/byte_writer.h"
#include "core/error.h"
#include "core/limits.h"
#include "resources/archive_builder.h"
#include "resources/file_collection.h"
#include "resources_support.h"

namespace orva {
namespace {

std::string Header(int32_t version, int32_t count) {
  ByteWriter w;
  w.Chars("vf");
  w.I32(version);
  w.I32(count);
  return w.Take();
}

std::string Int32(int32_t v) {
  ByteWriter w;
  w.I32(v);
  return w.Take();
}

// A good version-102 archive of two entries, to damage.
std::string GoodArchive() {
  return BuildArchive(102, {MakeBuiltEntry("a.txt", std::string(100, 'a'), false),
                            MakeBuiltEntry("b.txt", "bbbb", true)});
}

std::string Truncated(std::string s, size_t drop) { return s.substr(0, s.size() - drop); }

std::string WithBadZlib() {
  std::string s = BuildArchive(101, {MakeBuiltEntry("a.txt", std::string(100, 'a'), false)});
  s[s.size() - 4] = static_cast<char>(s[s.size() - 4] ^ 0x55);  // the adler-32 no longer matches
  return s;
}

std::string WithEntryBeyondTheEnd() {
  std::string s = GoodArchive();
  return s.substr(0, s.size() - 2);  // b.txt's data is cut short
}

// Offsets 0x20 then 0x10: a negative size.
std::string WithDecreasingOffsets() {
  std::string s = Header(1, 1) + Int32(5) + "a.txt" + Int32(0x20) + Int32(0x10);
  return s + std::string(0x30, 'x');
}

std::string FromFile(const std::string& name) {
  return test::ReadWholeFile(std::string(ORVA_TEST_DATA_DIR) + "/malformed/" + name);
}

struct MalformedCase {
  const char* what;
  std::string bytes;
  const char* extract;  // nullptr: the error comes from reading the directory
  const char* error;
};

std::vector<MalformedCase> Cases() {
  return {
      {"empty", "", nullptr, "damaged archive directory: the header would run past the end"},
      {"magic only", "vf", nullptr, "damaged archive directory: the header would run past the end"},
      {"no count", Header(102, 0).substr(0, 7), nullptr, "damaged archive directory: the header would run past the end"},
      {"negative count", Header(102, -1) + std::string(64, '\0'), nullptr,
       "damaged archive directory: -1 entries cannot fit in the 64 bytes left"},
      {"huge count", Header(102, 0x10000000) + std::string(64, '\0'), nullptr,
       "damaged archive directory: 268435456 entries exceed the limit of 1048576"},
      {"count beyond the bytes", Header(102, 1000) + std::string(64, '\0'), nullptr,
       "damaged archive directory: 1000 entries cannot fit in the 64 bytes left"},
      {"count without version-0 room", Int32(3) + std::string(20, '\0'), nullptr,
       "damaged archive directory: 3 entries cannot fit in the 20 bytes left"},
      {"name beyond the end", Header(1, 1) + Int32(1000) + std::string(20, 'n'), nullptr,
       "damaged archive directory: a name of 1000 bytes runs past the end"},
      {"offsets cut short", Header(1, 2) + Int32(5) + "aaaaa" + Int32(5) + "bbbbb" + std::string(8, '\0'), nullptr,
       "damaged archive directory: the offsets run past the end"},
      {"flags cut short", Truncated(BuildArchive(102, {MakeBuiltEntry("abcdefghij", "", true)}), 5), nullptr,
       "damaged archive directory: the entry flags run past the end"},
      {"entry beyond the end", WithEntryBeyondTheEnd(), "b.txt", "b.txt: the entry's data lies beyond the end of the archive"},
      {"negative size", WithDecreasingOffsets(), "a.txt", "a.txt: the entry's data lies beyond the end of the archive"},
      {"damaged zlib", WithBadZlib(), "a.txt", "a.txt: damaged compressed data"},
  };
}

TEST(ArchiveMalformed, EntryCountAtTheLimitAndOnePast) {
  for (const int64_t count : {limits::kMaxArchiveEntries, limits::kMaxArchiveEntries + 1}) {
    // Version 0: empty names and 4-byte offsets, all zero.
    const std::string bytes = Int32(static_cast<int32_t>(count)) + std::string(static_cast<size_t>(count * 8 + 4), '\0');
    auto big = std::make_unique<TQnBigMemoryStream>();
    big->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    big->SetPosition(0);
    TVrFileCollection table;
    if (count == limits::kMaxArchiveEntries) {
      table.OpenStream(std::move(big));
      EXPECT_EQ(table.Count(), count + 1);
    } else {
      try {
        table.OpenStream(std::move(big));
        ADD_FAILURE() << "no error";
      } catch (const EOrvaError& e) {
        EXPECT_STREQ(e.what(), "damaged archive directory: 1048577 entries exceed the limit of 1048576");
      }
    }
  }
}

TEST(ArchiveMalformed, EveryDamagedInputRaisesItsError) {
  for (const MalformedCase& c : Cases()) {
    SCOPED_TRACE(c.what);
    auto big = std::make_unique<TQnBigMemoryStream>();
    big->WriteBuffer(c.bytes.data(), static_cast<int64_t>(c.bytes.size()));
    big->SetPosition(0);
    TVrFileCollection table;
    try {
      table.OpenStream(std::move(big));
      ASSERT_NE(c.extract, nullptr) << "the directory was accepted";
      TMemoryStream out;
      table.Extract(c.extract, out);
      ADD_FAILURE() << "no error";
    } catch (const EOrvaError& e) {
      EXPECT_EQ(std::string(e.what()), c.error);
    }
  }
}

// Inputs kept from fuzzing, each with the error it must raise ("" when the archive is sound: such
// an input once broke a later step, such as rewriting the table). A file without a row fails.
struct RegressionRow {
  const char* file;
  const char* error;
};

const std::vector<RegressionRow>& RegressionRows() {
  static const std::vector<RegressionRow> rows = {
      {"archive_extract-stored-entry-rewritten.bin", ""},
      // Two entries named "": the older one, hidden from lookups, lies beyond the data and fails the rewrite.
      {"archive_extract-hidden-damaged-entry.bin", ": the entry's data lies beyond the end of the archive"},
  };
  return rows;
}

TEST(ArchiveMalformed, RegressionInputsFromFuzzing) {
  const std::string folder = std::string(ORVA_TEST_DATA_DIR) + "/malformed";
  for (const auto& file : std::filesystem::directory_iterator(folder)) {
    const std::string name = file.path().filename().string();
    if (name.rfind("archive_", 0) != 0) continue;
    SCOPED_TRACE(name);
    const auto row = std::find_if(RegressionRows().begin(), RegressionRows().end(),
                                  [&](const RegressionRow& r) { return name == r.file; });
    ASSERT_NE(row, RegressionRows().end()) << "add a row for this input";
    const std::string bytes = FromFile(name);
    std::string error;
    try {
      auto big = std::make_unique<TQnBigMemoryStream>();
      big->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
      big->SetPosition(0);
      TVrFileCollection table;
      table.OpenStream(std::move(big));
      std::vector<std::string> contents;
      for (int i = 0; i + 1 < table.Count(); ++i) {
        TMemoryStream out;
        table.Extract(table.File(i)->Name(), out);
        contents.emplace_back(out.View());
      }
      // A sound archive is written anew and reads back the same.
      auto rewritten = std::make_unique<TQnBigMemoryStream>();
      table.WriteArchive(*rewritten);
      rewritten->SetPosition(0);
      TVrFileCollection reread;
      reread.OpenStream(std::move(rewritten));
      for (int i = 0; i + 1 < table.Count(); ++i) {
        TMemoryStream out;
        reread.Extract(table.File(i)->Name(), out);
        TMemoryStream again;
        table.Extract(table.File(i)->Name(), again);
        EXPECT_EQ(out.View(), again.View());
      }
    } catch (const EOrvaError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, row->error);
  }
}

}  // namespace
}  // namespace orva
