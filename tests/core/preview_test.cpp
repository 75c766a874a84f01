// The preview of each kind of install: the table it shows against what the real install then
// does, file by file; nothing on disk and nothing of the live program changes; a refusal is
// shown instead of a table.
#include "record/memory_record_store.h"
#include "support/fixtures.h"
#include "support/install_world.h"

namespace orvex::test {
namespace {

class InstallPreview : public InstallWorld {
 protected:
  // The user's choices for an install, as installAsTheUserWould makes them, without Install.
  Button& choose(Orvex& app, Kind kind) {
    app.frm.cmdRefresh.click();
    switch (kind) {
      case Kind::Aircraft: return app.frm.cmdPreview;
      case Kind::Panel:
        app.frm.optFSCONV.setValue(true);
        app.frm.txtPanelName.setText("Test");
        return app.frm.cmdPanelPreview;
      case Kind::Sound: app.frm.optSound.setValue(true); return app.frm.cmdSoundPreview;
      case Kind::Scenery:
        app.frm.txtSceneryName.setText(kSceneryName);
        app.frm.optSceneryDefault.setValue(true);
        return app.frm.cmdSceneryPreview;
      case Kind::Livery: break;  // a repaint has no preview
    }
    return app.frm.cmdPreview;
  }

  // Opens the preview; while it is up, takes its rows and summary, then presses one of its
  // buttons.
  void preview(Orvex& app, Button& previewButton, bool install) {
    tk_.onModal = [&](Form& form) {
      ASSERT_EQ(form.name(), "frmPreview");
      rows_ = app.preview.lvwPreview.rows();
      summary_ = app.preview.labPreviewSummary.caption();
      tableShown_ = app.preview.lvwPreview.visible();
      (install ? app.preview.cmdPreviewInstall : app.preview.cmdPreviewClose).click();
    };
    previewButton.click();
    tk_.onModal = nullptr;
  }

  std::vector<std::vector<std::string>> rows_;
  std::string summary_;
  bool tableShown_ = false;
};

TEST_F(InstallPreview, EachKindShowsWhatTheInstallThenDoesFileByFile) {
  for (Kind kind : {Kind::Aircraft, Kind::Panel, Kind::Sound, Kind::Scenery}) {
    SCOPED_TRACE(kindName(kind));
    // Over an earlier version: the aircraft's folder is there, and a protected file is replaced.
    Orvex& app = freshStart(kind, true);
    unpack(kind);
    if (kind == Kind::Panel) {
      write(kAsm + "panel.cfg", fixtureText("panel/editor_written_lf.cfg"));
      write(kAsm + "Main Panel.bmp", "main panel");
    }
    Button& previewButton = choose(app, kind);
    tk_.boxes.clear();
    const Files before = snapshot();
    const std::vector<std::string> waiting = names("C:\\Orvex\\Assembly");
    const ProgramState state = app.state;
    const std::string window = app.frm.describe() + app.anim.describe() + app.warn.describe();

    preview(app, previewButton, false);

    // Nothing on disk changed, the assembly area included, and the live program is as it was.
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(names("C:\\Orvex\\Assembly"), waiting);
    EXPECT_TRUE(app.state == state);
    EXPECT_EQ(app.frm.describe() + app.anim.describe() + app.warn.describe(), window);
    EXPECT_TRUE(tk_.boxes.empty());
    EXPECT_EQ(tk_.beeps, 0);
    ASSERT_TRUE(tableShown_) << summary_;
    ASSERT_EQ(rows_.size(), waiting.size());

    // The same choices installed for real, through the preview's Install button.
    const auto previewed = rows_;
    const std::string previewedSummary = summary_;
    preview(app, previewButton, true);
    EXPECT_EQ(rows_, previewed);
    EXPECT_EQ(tk_.countCaption("Success!"), 1);
    for (const ShownBox& box : tk_.boxes)
      if (box.buttons == MsgButtons::YesNo) {
        EXPECT_NE(previewedSummary.find(box.caption + ": "), std::string::npos) << box.text;
      }
    for (const std::vector<std::string>& row : previewed) {
      const std::string& name = row[0];
      const std::string& target = row[2];
      const std::string& meaning = row[3];
      SCOPED_TRACE(name + " -> " + target + ": " + meaning);
      if (target.empty()) {
        EXPECT_TRUE(meaning == "left behind" || meaning == "stays in the assembly area");
        EXPECT_EQ(exists(kAsm + name), meaning != "left behind");
        continue;
      }
      EXPECT_TRUE(exists(target));
      if (addOn(kind).count(name) && name != "panel.cfg") {
        EXPECT_EQ(read(target), addOn(kind).at(name));
      }
      const std::string relative = target.substr(3);
      std::string host = relative;
      for (char& c : host)
        if (c == '\\') c = '/';
      const bool wasThere = before.count(host) > 0;
      EXPECT_EQ(meaning.rfind("replaces", 0) == 0, wasThere);
      EXPECT_EQ(meaning == "new", !wasThere);
    }
  }
}

TEST_F(InstallPreview, ANewSceneryShowsTheAreaItAddsToTheList) {
  Orvex& app = freshStart(Kind::Scenery, false);
  unpack(Kind::Scenery);
  preview(app, choose(app, Kind::Scenery), false);
  // The list's highest area and layer is 60.
  EXPECT_NE(summary_.find(
                "Added to C:\\FS98\\Scenery.cfg:\r   [Area.061]\r   Title=" + kSceneryName +
                "\r   Local=SCENERY\\" + kSceneryName + "\\Scenery\r   Active=TRUE\r   Layer=61"),
            std::string::npos)
      << summary_;
  EXPECT_EQ(read("C:\\FS98\\Scenery.cfg"), oldSceneryList_);
}

TEST_F(InstallPreview, AFileAnEarlierInstallWroteIsNamedWithThatInstall) {
  records = [](const std::string&) { return std::make_unique<MemoryRecordStore>(); };
  Orvex& app = freshStart(Kind::Sound, false);
  unpack(Kind::Sound);
  installAsTheUserWould(app, Kind::Sound);
  unpack(Kind::Sound);
  preview(app, choose(app, Kind::Sound), false);
  const std::string when = installedList(app).rows().at(0).at(0).substr(0, 10);
  bool named = false;
  for (const auto& row : rows_)
    named |=
        row[0] == "eng.wav" &&
        row[3].rfind("replaces Sound\\eng.wav from C:\\FS98\\Sound, installed " + when, 0) == 0;
  EXPECT_TRUE(named);
}

TEST_F(InstallPreview, AnInstallThatWouldRefuseShowsWhyInsteadOfATable) {
  Orvex& app = freshStart(Kind::Panel, false);
  unpack(Kind::Panel);
  app.frm.cmdRefresh.click();
  app.frm.optMyChoice.setValue(true);
  app.frm.Dir2.setPath("C:\\FS98\\Aircraft\\Other");
  tk_.boxes.clear();
  tk_.onModal = [&](Form&) {
    EXPECT_FALSE(app.preview.lvwPreview.visible());
    EXPECT_FALSE(app.preview.cmdPreviewInstall.enabled());
    EXPECT_NE(app.preview.labPreviewSummary.caption().find("We're not in a Panel Directory!"),
              std::string::npos);
    app.preview.cmdPreviewClose.click();
  };
  app.frm.cmdPanelPreview.click();
  EXPECT_TRUE(tk_.boxes.empty());
  EXPECT_EQ(names("C:\\Orvex\\Assembly").size(), addOn(Kind::Panel).size());
}

TEST_F(InstallPreview, AListThatIsNoTextShowsTheRefusal) {
  Orvex& app = freshStart(Kind::Scenery, false);
  write("C:\\FS98\\Scenery.cfg", std::string("Layer=1\0\0", 9));
  unpack(Kind::Scenery);
  const Files before = snapshot();
  preview(app, choose(app, Kind::Scenery), false);
  EXPECT_FALSE(tableShown_);
  EXPECT_NE(summary_.find("C:\\FS98\\Scenery.cfg cannot be read as a scenery list"),
            std::string::npos)
      << summary_;
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(names("C:\\Orvex\\Assembly").size(), addOn(Kind::Scenery).size());
}

}  // namespace
}  // namespace orvex::test
