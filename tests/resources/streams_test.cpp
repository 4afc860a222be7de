#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "core/error.h"
#include "resources/atomic_file.h"
#include "resources/big_file_stream.h"
#include "resources/buff_big_stream.h"
#include "resources/range_stream.h"
#include "resources/stream_records.h"
#include "resources_support.h"

namespace orva {
namespace {

constexpr int64_t kGiB = TQnBigFileStream::kVolumeSize;

// A sparse file of the given size whose last `tail` bytes (or first bytes when at_start) are set.
void MakeSparse(const std::string& path, int64_t size, const std::string& bytes, int64_t at) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, size), 0);
  ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), at), static_cast<ssize_t>(bytes.size()));
  ::close(fd);
}

TEST(BigFileStream, VolumeNamesDropTheExtension) {
  EXPECT_EQ(TQnBigFileStream::VolumeName("/t/game.dat", 0), "/t/game.dat");
  EXPECT_EQ(TQnBigFileStream::VolumeName("/t/game.dat", 1), "/t/game.001");
  EXPECT_EQ(TQnBigFileStream::VolumeName("/t/game.dat", 12), "/t/game.012");
  EXPECT_EQ(TQnBigFileStream::VolumeName("/t.d/game", 2), "/t.d/game.002");
}

TEST(BigFileStream, ReadsStraddleTheVolumeBoundary) {
  test::ScratchFolder folder;
  MakeSparse(folder.Path() + "game.dat", kGiB, "ABCDE", kGiB - 5);
  folder.Write("game.001", "FGHIJ" + std::string(95, 'x'));
  folder.Write("game.003", "not reached");

  TQnBigFileStream stream(folder.Path() + "game.dat", BigFileMode::kRead);
  EXPECT_EQ(stream.VolumeCount(), 2);
  EXPECT_EQ(stream.GetSize(), kGiB + 100);
  stream.SetPosition(kGiB - 5);
  char buffer[10];
  ASSERT_EQ(stream.Read(buffer, 10), 10);
  EXPECT_EQ(std::string(buffer, 10), "ABCDEFGHIJ");
  EXPECT_EQ(stream.GetPosition(), kGiB + 5);

  stream.SetPosition(kGiB + 1000);
  EXPECT_EQ(stream.GetPosition(), kGiB + 100);
  EXPECT_EQ(stream.Read(buffer, 10), 0);
}

TEST(BigFileStream, StopsAtTheFirstMissingVolume) {
  test::ScratchFolder folder;
  folder.Write("game.dat", "0123456789");
  folder.Write("game.002", "later");
  TQnBigFileStream stream(folder.Path() + "game.dat", BigFileMode::kRead);
  EXPECT_EQ(stream.VolumeCount(), 1);
  EXPECT_EQ(stream.GetSize(), 10);
  EXPECT_THROW(TQnBigFileStream(folder.Path() + "missing.dat", BigFileMode::kRead), EOrvaError);
}

TEST(BigFileStream, WritesContinueInANewVolume) {
  test::ScratchFolder folder;
  const std::string path = folder.Path() + "save.dat";
  MakeSparse(path, kGiB - 5, "", 0);
  {
    TQnBigFileStream stream(path, BigFileMode::kReadWrite);
    stream.SetPosition(kGiB);  // lowered to the size
    EXPECT_EQ(stream.GetPosition(), kGiB - 5);
    EXPECT_EQ(stream.Write("0123456789", 10), 10);
    EXPECT_EQ(stream.GetSize(), kGiB + 5);
  }
  EXPECT_EQ(std::filesystem::file_size(path), static_cast<uintmax_t>(kGiB));
  EXPECT_EQ(test::ReadWholeFile(folder.Path() + "save.001"), "56789");
}

TEST(BigFileStream, CreateDeletesOldVolumesAndAtomicCreateReplacesOnlyOnCommit) {
  test::ScratchFolder folder;
  const std::string path = folder.Path() + "out.dat";
  folder.Write("out.dat", "old");
  folder.Write("out.001", "old volume");
  {
    TQnBigFileStream stream(path, BigFileMode::kCreateAtomic);
    stream.WriteBuffer("new", 3);
  }  // no commit: nothing changes
  EXPECT_EQ(test::ReadWholeFile(path), "old");
  {
    TQnBigFileStream stream(path, BigFileMode::kCreateAtomic);
    stream.WriteBuffer("new", 3);
    stream.Commit();
  }
  EXPECT_EQ(test::ReadWholeFile(path), "new");
  EXPECT_FALSE(std::filesystem::exists(folder.Path() + "out.001"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

  folder.Write("out.001", "stale");
  { TQnBigFileStream stream(path, BigFileMode::kCreate); }
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  EXPECT_FALSE(std::filesystem::exists(folder.Path() + "out.001"));
}

TEST(BigFileStream, CopiesBetweenBigStreamsAcrossVolumes) {
  test::ScratchFolder folder;
  MakeSparse(folder.Path() + "a.dat", kGiB, "XYZ", kGiB - 3);
  folder.Write("a.001", "123");
  TQnBigFileStream source(folder.Path() + "a.dat", BigFileMode::kRead);
  source.SetPosition(kGiB - 3);
  TQnBigMemoryStream memory;
  TQnBigFileStream target(folder.Path() + "b.dat", BigFileMode::kCreate);
  EXPECT_EQ(target.CopyFromBig(source, 6), 6);
  target.SetPosition(0);
  TMemoryStream out;
  EXPECT_EQ(target.CopyTo(out, 6), 6);
  EXPECT_EQ(out.View(), "XYZ123");
  // A memory big stream accepts only its own kind.
  EXPECT_EQ(memory.CopyFromBig(target, 6), 0);
}

TEST(BuffBigStream, GivesBackUnreadBytesWhenDestroyed) {
  TQnBigMemoryStream big;
  const std::string data = test::NoiseBytes(250000);
  big.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
  big.SetPosition(0);
  {
    TQnBuffBigStream buffered(big);
    char ten[10];
    buffered.ReadBuffer(ten, 10);
    EXPECT_EQ(std::string(ten, 10), data.substr(0, 10));
    EXPECT_EQ(big.GetPosition(), TQnBuffBigStream::kChunkSize);
  }
  EXPECT_EQ(big.GetPosition(), 10);
  {
    TQnBuffBigStream buffered(big);
    std::string rest(250000 - 10, '\0');
    EXPECT_EQ(buffered.Read(rest.data(), 250000), 250000 - 10);
    EXPECT_EQ(rest, data.substr(10));
  }
  EXPECT_EQ(big.GetPosition(), 250000);
}

std::unique_ptr<TQnBigStream> MemoryBig(const std::string& data) {
  auto big = std::make_unique<TQnBigMemoryStream>();
  big->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
  return big;
}

TEST(RangeStream, KeepsToItsWindow) {
  std::string data(200, '\0');
  for (int i = 0; i < 200; ++i) data[static_cast<size_t>(i)] = static_cast<char>(i);
  TRangeStream range(MemoryBig(data), 100, 50);
  EXPECT_EQ(range.Size(), 50);
  EXPECT_EQ(range.Seek(60, SeekOrigin::kBeginning), 50);
  char byte;
  EXPECT_EQ(range.Read(&byte, 1), 0);
  EXPECT_EQ(range.Seek(-10, SeekOrigin::kEnd), 40);
  char buffer[20];
  EXPECT_EQ(range.Read(buffer, 20), 10);
  EXPECT_EQ(static_cast<uint8_t>(buffer[0]), 140);
  EXPECT_EQ(range.Seek(-100, SeekOrigin::kCurrent), 0);
  EXPECT_EQ(range.Write("x", 1), 0);

  TRangeStream whole(MemoryBig(data), 0, std::nullopt);
  EXPECT_EQ(whole.Size(), 200);
}

TEST(RangeStream, ServesReadersOnSeveralThreads) {
  const std::string data = test::NoiseBytes(1 << 16);
  TRangeStream range(MemoryBig(data), 1000, 4096);
  std::atomic<int> mismatches{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 4; ++t) {
    readers.emplace_back([&, t] {
      for (int k = 0; k < 2000; ++k) {
        // Seek and read are separate locked steps, so only the window bound is checked here.
        char buffer[64];
        range.Seek((t * 997 + k * 31) % 4096, SeekOrigin::kBeginning);
        const int64_t n = range.Read(buffer, 64);
        if (n < 0 || n > 64) ++mismatches;
      }
    });
  }
  for (auto& reader : readers) reader.join();
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_LE(range.Position(), 4096);
}

TEST(StreamRecords, CopyStreamWithCountZeroCopiesTheWholeSource) {
  TMemoryStream memory_source;
  memory_source.WriteBuffer("abcdef", 6);
  memory_source.SetPosition(4);
  TMemoryStream out;
  EXPECT_EQ(CopyStream(out, memory_source, 0), 6);
  EXPECT_EQ(out.View(), "abcdef");

  test::ScratchFolder folder;
  TFileStream file(folder.Write("f.bin", "0123456789"), FileOpenMode::kRead);
  file.SetPosition(7);
  TMemoryStream out2;
  EXPECT_EQ(CopyStream(out2, file, 0), 10);
  EXPECT_EQ(out2.View(), "0123456789");
  file.SetPosition(8);
  EXPECT_THROW(CopyStream(out2, file, 5), EOrvaError);
  memory_source.SetPosition(4);
  EXPECT_THROW(CopyStream(out2, memory_source, 3), EOrvaError);
}

TEST(StreamRecords, StringsAndIntegersRoundTripAndRefuseOverlongCounts) {
  TQnMemoryStream stream;
  WriteString(stream, "name");
  WriteString(stream, "");
  WriteInt32(stream, -2);
  WriteByte(stream, 1);
  stream.SetPosition(0);
  EXPECT_EQ(ReadString(stream), "name");
  EXPECT_EQ(ReadString(stream), "");
  EXPECT_EQ(ReadInt32(stream), -2);
  EXPECT_EQ(ReadByte(stream), 1);
  EXPECT_THROW(ReadByte(stream), EOrvaError);

  TMemoryStream damaged;
  WriteInt32(damaged, 0x7FFFFFFF);
  damaged.WriteBuffer("abc", 3);
  damaged.SetPosition(0);
  EXPECT_THROW(ReadString(damaged), EOrvaError);
  damaged.SetPosition(0);
  WriteInt32(damaged, -5);
  damaged.SetPosition(0);
  EXPECT_EQ(ReadString(damaged), "");
  EXPECT_EQ(damaged.Position(), 4);
}

TEST(MemoryStream, SharedContentsAreCopiedOnlyWhenChanged) {
  TMemoryStream original;
  original.WriteBuffer("shared bytes", 12);
  TMemoryStream copy;
  copy.ShareContents(original);
  EXPECT_EQ(copy.Bytes().data(), original.Bytes().data());
  EXPECT_EQ(copy.Position(), 0);
  copy.Memory()[0] = 'S';
  EXPECT_EQ(copy.View(), "Shared bytes");
  EXPECT_EQ(original.View(), "shared bytes");

  TMemoryStream third;
  third.ShareContents(original);
  third.Seek(0, SeekOrigin::kEnd);
  third.WriteBuffer("!", 1);
  third.SetSize(20);
  EXPECT_EQ(third.View(), std::string("shared bytes!") + std::string(7, '\0'));
  EXPECT_EQ(original.View(), "shared bytes");
  original.Clear();
  EXPECT_EQ(copy.View(), "Shared bytes");
}

TEST(AtomicFile, ReplacesTheFileOnlyWhenCommitted) {
  test::ScratchFolder folder;
  const std::string path = folder.Write("out.txt", "old");
  {
    AtomicFile file(path);
    file.Write("half");
  }
  EXPECT_EQ(test::ReadWholeFile(path), "old");
  WriteFileAtomically(path, "new contents");
  EXPECT_EQ(test::ReadWholeFile(path), "new contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
  EXPECT_THROW(AtomicFile(folder.Path() + "no/such/folder/x"), EOrvaError);
}

}  // namespace
}  // namespace orva
