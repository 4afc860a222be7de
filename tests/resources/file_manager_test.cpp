#include "resources/file_manager.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <deque>
#include <filesystem>

#include "core/encoding.h"
#include "core/error.h"
#include "core/stop_flag.h"
#include "resources/archive_builder.h"
#include "resources/local_names.h"
#include "resources_support.h"

namespace orva {
namespace {

std::string Loaded(TVrFileManager& manager, std::string_view name) {
  TMemoryStream out;
  manager.Load(out, name);
  EXPECT_EQ(out.Position(), 0);
  return std::string(out.View());
}

// A manager over a scratch title folder with no discs and its work folder inside the scratch.
struct Title {
  test::ScratchFolder folder;
  std::unique_ptr<TVrFileManager> manager;
  explicit Title(std::vector<std::string> cd_roots = {}, platform::MessageBoxes* boxes = nullptr) {
    FileManagerSetup setup;
    setup.cd_roots = std::move(cd_roots);
    setup.temporary_parent = folder.Path();
    setup.message_boxes = boxes;
    manager = std::make_unique<TVrFileManager>(setup);
    manager->SetBaseFolder(folder.Path() + "title");
    std::filesystem::create_directories(folder.Path() + "title");
    manager->AddArchive("");
  }
  std::string Archive(const std::string& relative, const std::vector<BuiltArchiveEntry>& entries) {
    return folder.Write(relative, BuildArchive(102, entries));
  }
};

TEST(FileManager, LooksInTheBaseFolderThenTheSourcesInOrderThenTheDiscs) {
  test::ScratchFolder disc;
  Title title({disc.Path()});
  TVrFileManager& m = *title.manager;
  m.AddArchive(title.Archive("a.dat", {MakeBuiltEntry("shared.txt", "from a", false),
                                       MakeBuiltEntry("only_a.txt", "a only", true)}));
  m.AddArchive(title.Archive("b.dat", {MakeBuiltEntry("shared.txt", "from b", false),
                                       MakeBuiltEntry("base.txt", "from archive", false)}));
  title.folder.Write("title/base.txt", "from folder");
  disc.Write("disc.txt", "from disc");
  disc.Write("only_a.txt", "disc copy");

  EXPECT_EQ(Loaded(m, "shared.txt"), "from a");
  EXPECT_EQ(Loaded(m, "base.txt"), "from folder");
  EXPECT_EQ(Loaded(m, "only_a.txt"), "a only");
  EXPECT_EQ(Loaded(m, "disc.txt"), "from disc");
  EXPECT_TRUE(m.Exists("BASE.TXT"));
  EXPECT_TRUE(m.Exists("disc.txt"));
  EXPECT_FALSE(m.Exists(""));
  EXPECT_FALSE(m.Exists("none.txt"));
  EXPECT_EQ(m.FindEntry("SHARED.TXT")->Index(), 0);
  EXPECT_EQ(m.FindEntry("SHARED.TXT")->Collection(), m.Source(1));
  try {
    Loaded(m, Utf8ToCp932("無い.txt"));
    ADD_FAILURE() << "no error";
  } catch (const EOrvaError& e) {
    EXPECT_STREQ(e.what(), "無い.txt:ファイルがありません");
  }
  EXPECT_EQ(m.AddArchive(""), -1);
  EXPECT_EQ(m.AddArchive(title.folder.Path() + "title/"), 3);  // a folder source
  EXPECT_EQ(m.AddArchive(title.folder.Path() + "TITLE/"), -1);
  EXPECT_THROW(m.AddResourceArchive("self", "LOGO", "DATA"), EOrvaError);
  EXPECT_EQ(m.SourceCount(), 4);
}

TEST(FileManager, MapsWindowsNamesToTheLinuxDisk) {
  Title title;
  TVrFileManager& m = *title.manager;
  title.folder.Write("title/Graphics/BG01.Mos", "utf8 tree");
  title.folder.Write("title/" + std::string("日本/顔.txt"), "japanese utf8");
  title.folder.Write("title/" + Utf8ToCp932("生") + "/a.txt", "raw sjis");
  EXPECT_EQ(Loaded(m, "graphics\\bg01.mos"), "utf8 tree");
  EXPECT_EQ(Loaded(m, "GRAPHICS/BG01.MOS"), "utf8 tree");
  EXPECT_EQ(Loaded(m, Utf8ToCp932("日本\\顔.TXT")), "japanese utf8");
  EXPECT_EQ(Loaded(m, Utf8ToCp932("生\\A.TXT")), "raw sjis");
  EXPECT_FALSE(m.Exists("graphics"));  // a folder is not a file
  EXPECT_EQ(FindLocalFile(title.folder.Path() + "title", "graphics\\..\\graphics\\bg01.mos"),
            title.folder.Path() + "title/Graphics/../Graphics/BG01.Mos");
  EXPECT_EQ(FindLocalFile("", "x.txt"), std::nullopt);
}

TEST(FileManager, CachesByUpperCasedNameWithinFourMebibytes) {
  Title title;
  TVrFileManager& m = *title.manager;
  const std::string mib(1 << 20, 'x');
  m.AddArchive(title.Archive("data.dat", {MakeBuiltEntry("bg.mos", "picture", false),
                                          MakeBuiltEntry("m1", mib, false), MakeBuiltEntry("m2", mib, false),
                                          MakeBuiltEntry("m3", mib, false), MakeBuiltEntry("m4", mib, false),
                                          MakeBuiltEntry("empty", "", true)}));
  EXPECT_EQ(Loaded(m, "BG.MOS"), "picture");
  EXPECT_EQ(Loaded(m, "bg.mos"), "picture");
  EXPECT_EQ(m.CachedFileCount(), 1);
  {
    // A caller that changes what it loaded does not change the cached file.
    TMemoryStream mine;
    m.Load(mine, "bg.mos");
    mine.Memory()[0] = 'P';
    EXPECT_EQ(Loaded(m, "bg.mos"), "picture");
  }
  for (const char* name : {"m1", "m2", "m3", "m4"}) Loaded(m, name);
  EXPECT_EQ(m.CachedFileCount(), 5);  // 4 MiB + 7 bytes: the bound is kept when the next name comes
  EXPECT_EQ(Loaded(m, "m1"), mib);    // known: moved to the front, nothing pushed out
  EXPECT_EQ(m.CachedFileCount(), 5);
  EXPECT_EQ(Loaded(m, "empty"), "");
  EXPECT_LE(m.CachedBytes(), TVrFileManager::kCacheLimit);
  EXPECT_EQ(m.CachedFileCount(), 5);  // the least recently used, bg.mos, went; "empty" stays empty
  m.ForgetCached("M1");
  EXPECT_EQ(m.CachedFileCount(), 4);
  m.ClearCache();
  EXPECT_EQ(m.CachedFileCount(), 0);

  // The cache answers before the sources: a loaded file survives its archive.
  Loaded(m, "bg.mos");
  m.RemoveSource(1);
  EXPECT_EQ(Loaded(m, "bg.mos"), "picture");
  EXPECT_THROW(Loaded(m, "m3"), EOrvaError);
}

TEST(FileManager, InMemoryFilesAreNeverCached) {
  Title title;
  TVrFileManager& m = *title.manager;
  TVrFile* entry = m.Source(0)->AddMemoryEntry("mem:note");
  entry->memory->WriteBuffer("one", 3);
  EXPECT_EQ(Loaded(m, "mem:note"), "one");
  entry->memory->SetSize(0);
  entry->memory->WriteBuffer("two", 3);
  EXPECT_EQ(Loaded(m, "MEM:NOTE"), "two");
  EXPECT_EQ(m.CachedFileCount(), 0);
  EXPECT_TRUE(m.Exists("mem:note"));
}

TEST(FileManager, RangesCoverTheStoredBytes) {
  Title title;
  TVrFileManager& m = *title.manager;
  const BuiltArchiveEntry packed = MakeBuiltEntry("voice.ogg", std::string(500, 'v'), false);
  m.AddArchive(title.Archive("data.dat", {packed, MakeBuiltEntry("empty.ogg", "", true)}));
  title.folder.Write("title/movie.mpg", "local movie");
  auto range = m.OpenRange("VOICE.OGG");
  EXPECT_EQ(range->Size(), static_cast<int64_t>(packed.data.size()));
  std::string bytes(static_cast<size_t>(range->Size()), '\0');
  range->ReadBuffer(bytes.data(), range->Size());
  EXPECT_EQ(bytes, packed.data);
  EXPECT_EQ(m.OpenRange("empty.ogg")->Size(), 0);
  EXPECT_EQ(m.OpenRange("movie.mpg")->Size(), 11);
  EXPECT_THROW(m.OpenRange("none.ogg"), EOrvaError);
}

TEST(FileManager, WorkFilesLiveInAPrivateFolderUntilTheManagerGoes) {
  Title title;
  TVrFileManager& m = *title.manager;
  m.AddArchive(title.Archive("data.dat", {MakeBuiltEntry("op.wmv", "movie bytes", true),
                                          MakeBuiltEntry("cur.ani", "cursor", false)}));
  title.folder.Write("title/local.wav", "local");
  const std::string temp = m.TempFolder();
  EXPECT_EQ(temp.rfind(title.folder.Path() + "orvaplayer-", 0), 0u);
  struct stat st {};
  ASSERT_EQ(::stat(temp.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  const std::string first = m.RealFileName("op.wmv");
  EXPECT_EQ(first, temp + "~oa00000000.wmv");
  EXPECT_EQ(test::ReadWholeFile(first), "movie bytes");
  EXPECT_EQ(m.RealFileName("op.wmv"), first);
  EXPECT_EQ(m.RealFileName("OP.wmv"), temp + "~oa00000001.wmv");  // records compare case-sensitively
  EXPECT_EQ(test::ReadWholeFile(m.RealFileName("cur.ani")), "cursor");
  EXPECT_EQ(m.RealFileName("local.wav"), title.folder.Path() + "title/local.wav");
  EXPECT_EQ(m.RealFileName("nowhere.wav"), "nowhere.wav");
  title.manager.reset();
  EXPECT_FALSE(std::filesystem::exists(temp));
}

TEST(FileManager, FolderOf) {
  const std::string sjis_so = Utf8ToCp932("ソ");  // its trail byte is "\"
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"a\\b\\c.txt", "a\\b\\"},
      {"c.txt", ""},
      {"C:\\data\\x.mos", "C:\\data\\"},
      {"C:x.mos", "C:"},
      {"\\\\server\\share\\f", "\\\\server\\share\\"},
      {sjis_so + "\\f", sjis_so + "\\"},
      {sjis_so + "f", ""},
  };
  for (const auto& [name, folder] : rows) EXPECT_EQ(TVrFileManager::FolderOf(name), folder) << name;
}

TEST(FileManager, FindsOpticalMountsInTheMountsTable) {
  const std::string table =
      "/dev/sda1 / ext4 rw 0 0\n"
      "/dev/sr0 /media/user/GAME\\040DISC iso9660 ro 0 0\n"
      "/dev/sr1 /mnt/dvd/ udf ro 0 0\n"
      "proc /proc proc rw 0 0\n";
  EXPECT_EQ(OpticalMountRoots(table), (std::vector<std::string>{"/media/user/GAME DISC/", "/mnt/dvd/"}));
  EXPECT_EQ(FormatDiskPrompt("Disc %d, 100%% %s", 2), "Disc 2, 100% %s");
}

class ScriptedBoxes : public platform::MessageBoxes {
 public:
  std::deque<platform::MessageChoice> answers;
  std::vector<platform::MessageRequest> shown;
  std::function<void()> on_show;
  platform::MessageChoice Show(const platform::MessageRequest& request) override {
    shown.push_back(request);
    if (on_show) on_show();
    const platform::MessageChoice choice = answers.front();
    answers.pop_front();
    return choice;
  }
};

class FakeProject : public DiscRequestHost {
 public:
  int close_requests = 0;
  std::string ProjectTitle() override { return "Game"; }
  std::string DiskPrompt() override { return "Insert disc %d"; }
  std::string QuitPrompt() override { return "Quit?"; }
  std::string ApplicationTitle() override { return "Caption"; }
  std::optional<InstallSetIdentity> ReadInstallSet(const std::string& path) override {
    const std::string text = test::ReadWholeFile(path);
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    return InstallSetIdentity{text.substr(0, colon), std::stoi(text.substr(colon + 1))};
  }
  void RequestClose() override { ++close_requests; }
};

TEST(FileManager, RequestDiskAsksUntilTheDiscIsInADrive) {
  test::ScratchFolder drive1, drive2;
  ScriptedBoxes boxes;
  FakeProject project;
  Title title({drive1.Path(), drive2.Path()}, &boxes);
  TVrFileManager& m = *title.manager;
  m.SetDiscHost(&project);
  drive1.Write("GAME.DAT", BuildArchive(102, {MakeBuiltEntry("d1.txt", "disc one", false)}));
  drive1.Write("INSTALL.DAT", "Game:0");
  EXPECT_EQ(m.AddArchive(drive1.Path() + "GAME.DAT"), 1);
  EXPECT_EQ(Loaded(m, "d1.txt"), "disc one");

  // Disc 2: OK with the wrong disc in, Cancel then Cancel (back to the prompt), then the disc
  // arrives in drive 2 and OK finds it. The sources of the old disc are gone.
  using platform::MessageChoice;
  boxes.answers = {MessageChoice::kOk, MessageChoice::kCancel, MessageChoice::kCancel, MessageChoice::kOk};
  boxes.on_show = [&] {
    if (boxes.shown.size() == 4) {
      drive2.Write("game.dat", BuildArchive(102, {MakeBuiltEntry("d2.txt", "disc two", false)}));
      drive2.Write("install.dat", "Game:1");
    }
  };
  EXPECT_TRUE(m.RequestDisk(2));
  ASSERT_EQ(boxes.shown.size(), 4u);
  EXPECT_EQ(boxes.shown[0].text, "Insert disc 2");
  EXPECT_EQ(boxes.shown[0].caption, "Caption");
  EXPECT_EQ(boxes.shown[0].buttons, platform::MessageButtons::kOkCancel);
  EXPECT_EQ(boxes.shown[2].text, "Quit?");
  EXPECT_EQ(m.SourceCount(), 2);
  EXPECT_FALSE(m.Exists("d1.txt"));
  EXPECT_EQ(Loaded(m, "d2.txt"), "disc two");

  // Cancel, then OK on the question: the run ends.
  boxes.on_show = nullptr;
  boxes.answers = {MessageChoice::kCancel, MessageChoice::kOk};
  EXPECT_FALSE(m.RequestDisk(3));
  EXPECT_TRUE(StopRequested());
  EXPECT_EQ(project.close_requests, 1);
  SetStopRequested(false);
}

}  // namespace
}  // namespace orva
