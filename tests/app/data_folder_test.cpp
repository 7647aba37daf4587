// Lookups in the data folders, whose entries copied in from a file system that ignores case
// may be spelled in any case.
#include "app/data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/program_folder.h"

namespace {

class DataFolder : public ::testing::Test {
  protected:
    void Make(const std::string& relative, bool asFolder = false) {
        const std::filesystem::path path = folder.path() / relative;
        std::filesystem::create_directories(asFolder ? path : path.parent_path());
        if (!asFolder) std::ofstream(path) << "x";
    }
    std::vector<std::string> Listed(const std::string& relative) const {
        std::vector<std::string> names;
        for (const FolderEntry& entry : ListFolder(folder.Dir() + relative))
            names.push_back(entry.name + (entry.isFolder ? "/" : ""));
        return names;
    }
    ProgramFolder folder;
};

TEST_F(DataFolder, ListsInTheJournalsOrderWithFoldersAndLinksToFoldersMarked) {
    Make("DP/b.etl");
    Make("DP/B.ETL");
    Make("DP/0002", true);
    Make("DP/a.etl");
    Make("DP/.hidden");
    std::filesystem::create_directory_symlink(folder.path() / "DP/0002", folder.path() / "DP/0001");
    EXPECT_EQ(Listed("DP/"),
              (std::vector<std::string>{"0001/", "0002/", "a.etl", "B.ETL", "b.etl"}));
    EXPECT_TRUE(Listed("NONE/").empty());
}

TEST_F(DataFolder, FindsTheExactSpellingFirstElseTheFirstInAnyCase) {
    const std::string dp = folder.Dir() + "DP/0001/";
    Make("DP/0001/diap.cfg");
    Make("DP/0001/Diap.cfg");
    Make("DP/0001/DIAP.CFG");
    EXPECT_EQ(FindEntry(dp, "diap.cfg"), dp + "diap.cfg");
    EXPECT_EQ(FindEntry(dp, "dIAP.cfg"), dp + "DIAP.CFG");
    EXPECT_EQ(FindEntry(dp, "job.cfg"), dp + "job.cfg");
    const std::vector<FolderEntry> listed = ListFolder(dp);
    EXPECT_EQ(FindEntryIn(listed, dp, "diap.cfg"), dp + "diap.cfg");
    EXPECT_EQ(FindEntryIn(listed, dp, "dIAP.cfg"), dp + "DIAP.CFG");
    EXPECT_EQ(FindEntryIn(listed, dp, "job.cfg"), dp + "job.cfg");
    EXPECT_TRUE(HasEntry(dp, "DiAp.CfG"));
    EXPECT_FALSE(HasEntry(dp, "diap"));
}

}  // namespace
