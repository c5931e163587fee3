// The single-file actions of the result window.
#include <algorithm>

#include "action_fixture.h"
#include "actions/single_file_actions.h"

namespace twinex::test {
namespace {

using SingleFile = ActionFixture;

TEST_F(SingleFile, DeleteSelectedRefusesProtectedAndConfirmsEach) {
  int g = Group("d");
  std::string keep = Add(g, "k.txt", "d", false);
  std::string yes = Add(g, "yes.txt", "d", true);
  std::string no = Add(g, "no.txt", "d", true);
  std::string guarded = Add(g, "p.txt", "d", true);
  G(g).files[3].protectedFile = true;
  SingleFileRequest r;
  r.confirmEach = true;
  prompt.answers = {PromptAnswer::Yes, PromptAnswer::No};
  SingleFileOutcome out = File_Delete(tree, r, observer, prompt);
  EXPECT_EQ(out.done, 1u);
  EXPECT_FALSE(Exists(yes));
  EXPECT_TRUE(Exists(no) && Exists(guarded) && Exists(keep));
  EXPECT_EQ(prompt.texts.back(), "Dateien gelöscht: 1 von 3");
  EXPECT_NE(std::find(prompt.texts.begin(), prompt.texts.end(),
                      "Die Datei '" + guarded + "' befindet sich in einem geschützten Quellordner und kann nicht "
                                                "gelöscht werden!"),
            prompt.texts.end());
  EXPECT_EQ(Names(), (std::vector<std::string>{"k.txt", "no.txt", "p.txt"}));
}

TEST_F(SingleFile, DeleteAllOtherFilesOfAGroup) {
  int g = Group("o");
  std::string a = Add(g, "a.txt", "o", false);
  std::string b = Add(g, "b.txt", "o", false);
  std::string c = Add(g, "c.txt", "o", true);
  prompt.answers = {PromptAnswer::Yes};
  SingleFileOutcome out = Delete_AllOtherFilesFromGroup(tree, g, 1, {}, observer, prompt);
  EXPECT_EQ(out.done, 2u);
  EXPECT_TRUE(Exists(b));
  EXPECT_FALSE(Exists(a) || Exists(c));
  EXPECT_EQ(prompt.texts[0], "Sollen alle Dateien außer\r\n\r\n" + b + "\r\n\r\nin der Gruppe 'o' gelöscht werden?");
}

TEST_F(SingleFile, MoveAsksBeforeReplacingAndCopyKeepsTheRow) {
  int g = Group("m");
  std::string a = Add(g, "src/a.txt", "new", false);
  Add(g, "src/b.txt", "new", false);
  const std::string target = dir.MakeDir("target");
  dir.Write("target/a.txt", "old");
  prompt.answers = {PromptAnswer::No};
  SingleFileOutcome declined = File_Moving(tree, {{g, 0}}, target, {}, observer, prompt);
  EXPECT_EQ(declined.done, 0u);
  EXPECT_EQ(ReadFile(target + "/a.txt"), "old");
  EXPECT_TRUE(Exists(a));

  prompt.answers = {PromptAnswer::Yes};
  SingleFileOutcome replaced = File_Moving(tree, {{g, 0}}, target, {}, observer, prompt);
  EXPECT_EQ(replaced.done, 1u);
  EXPECT_EQ(ReadFile(target + "/a.txt"), "new");
  EXPECT_FALSE(Exists(a));
  EXPECT_EQ(Names(), std::vector<std::string>{"b.txt"});

  SingleFileOutcome copied = File_Copying(tree, {{g, 0}}, target, {}, observer, prompt);
  EXPECT_EQ(copied.done, 1u);
  EXPECT_EQ(ReadFile(target + "/b.txt"), "new");
  EXPECT_EQ(Names(), std::vector<std::string>{"b.txt"});
  EXPECT_EQ(prompt.texts.back(), "Dateien kopiert: 1 von 1");
}

TEST_F(SingleFile, RenameRefusesAnExistingName) {
  int g = Group("r");
  std::string a = Add(g, "a.txt", "r", false);
  Add(g, "b.txt", "r", false);
  File_Rename(tree, {g, 0}, "b.txt", {}, observer, prompt);
  EXPECT_EQ(prompt.texts.back(), "Es ist schon eine Datei mit dem Namen 'b.txt' vorhanden!");
  EXPECT_TRUE(Exists(a));
  SingleFileOutcome out = File_Rename(tree, {g, 0}, "c.txt", {}, observer, prompt);
  EXPECT_EQ(out.done, 1u);
  EXPECT_TRUE(Exists(dir / "c.txt"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"c.txt", "b.txt"}));
  EXPECT_TRUE(observer.Has("UMBENANNT: '" + a + "' in 'c.txt'"));
}

}  // namespace
}  // namespace twinex::test
