// Which name a file dialog proposes and which extension a save adds.

#include <gtest/gtest.h>

#include "files/file_kinds.h"
#include "files/file_names.h"

namespace qv {
namespace {

TEST(FileNames, TheChosenPairNamesTheExtensionToAdd) {
  const std::string multi = FileKindOf(FileKind::kSingleMulti)->saveFilter;
  EXPECT_EQ(FilterExtension(multi, 0), "qvs");
  EXPECT_EQ(FilterExtension(multi, 1), "");  // All Files: the name stays as typed
  EXPECT_EQ(FilterExtension(multi, 2), "qvx");
  EXPECT_EQ(FilterExtension(multi, 4), "qvp");
  EXPECT_EQ(FilterExtension(multi, 5), "");
  EXPECT_EQ(FilterExtension(multi, -1), "");
  EXPECT_EQ(FilterExtension(FileKindOf(FileKind::kWorkspace)->saveFilter, 0), "qvw");
  EXPECT_EQ(FilterExtension("Midi (*.mid;*.smf)|*.mid;*.smf", 0), "");
}

TEST(FileNames, ASavedNameGetsItsKindsExtensionDotsOrNot) {
  EXPECT_EQ(WithExtension("/a/ws1", "qvw"), "/a/ws1.qvw");
  EXPECT_EQ(WithExtension("/a/live set 2.1", "qvw"), "/a/live set 2.1.qvw");
  EXPECT_EQ(WithExtension("/a/bass.qvs", "qvw"), "/a/bass.qvs.qvw");  // another kind's extension
  EXPECT_EQ(WithExtension("/a/xqvw", "qvw"), "/a/xqvw.qvw");
  EXPECT_EQ(WithExtension("/a.qvw/ws", "qvw"), "/a.qvw/ws.qvw");
  EXPECT_EQ(WithExtension("/a/ws.", "qvw"), "/a/ws.qvw");
  EXPECT_EQ(WithExtension("/a/ws.QvW", "qvw"), "/a/ws.QvW");  // already of the kind
  EXPECT_EQ(WithExtension("/a/bass v1.2", ""), "/a/bass v1.2");  // All Files
}

TEST(FileNames, ADialogProposesTheLastFileOnlyOfItsOwnKind) {
  const std::string workspace = FileKindOf(FileKind::kWorkspace)->saveFilter;
  EXPECT_EQ(StartOfDialog("", workspace).folder, "");
  EXPECT_EQ(StartOfDialog("", workspace).file, "");
  const DialogStart same = StartOfDialog("/a/b/ws.QVW", workspace);
  EXPECT_EQ(same.folder, "/a/b");
  EXPECT_EQ(same.file, "/a/b/ws.QVW");
  // A listing, a name without extension, a dot only in the folder's name.
  for (const char* other : {"/a/b/list.txt", "/a/b/ws1", "/a/b.qvw/ws1"}) {
    const DialogStart start = StartOfDialog(other, workspace);
    EXPECT_EQ(start.file, "") << other;
    EXPECT_EQ(start.folder, std::string(other).substr(0, std::string(other).rfind('/'))) << other;
  }
  // Save > Multi proposes a single multi, not a performance it also lists.
  EXPECT_EQ(StartOfDialog("/a/p.qvx", FileKindOf(FileKind::kSingleMulti)->saveFilter).file, "");
  EXPECT_EQ(StartOfDialog("/a/m.qvs", FileKindOf(FileKind::kSingleMulti)->saveFilter).file, "/a/m.qvs");
}

}  // namespace
}  // namespace qv
