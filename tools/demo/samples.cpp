// The sample add-ons and sample simulator trees, in the simulators' classic file formats.
#include "samples.h"

#include <initializer_list>

#include "media.h"

namespace orvex::demo {
namespace {

// Classic configuration files are Windows text: lines ended by CR LF.
std::string lines(std::initializer_list<const char*> text) {
  std::string out;
  for (const char* line : text) out += std::string(line) + "\r\n";
  return out;
}

SampleArchive aircraft() {
  SampleArchive a{"aircraft_orvex_trainer.zip", {}};
  a.files = {
      {"Aircraft.cfg", lines({"[fltsim.0]", "title=Orvex Trainer", "sim=Orvex_Trainer", "model=",
                              "panel=", "sound=", "texture=", "kb_checklists=Orvex_Trainer_check",
                              "atc_id=N8201", "ui_manufacturer=Orvex", "ui_type=Trainer",
                              "ui_variation=Demonstration", "", "[General]", "atc_type=Orvex",
                              "atc_model=Trainer", "editable=1", "Category=airplane"})},
      {"Orvex_Trainer.air", standIn("flight dynamics file", "Orvex_Trainer.air")},
      {"Orvex_Trainer_check.txt",
       lines({"Orvex Trainer checklist", "", "Before start: fuel on, mixture rich.",
              "After landing: flaps up, transponder standby."})},
      {"Model.cfg", lines({"[models]", "normal=Orvex_Trainer"})},
      {"Orvex_Trainer.mdl", standIn("model", "Orvex_Trainer.mdl")},
      {"panel.cfg",
       lines({"[Window Titles]", "Window00=Main Panel", "", "[Window00]",
              "file=Orvex_Trainer_panel.bmp", "size_mm=640,240", "position=7", "visible=1",
              "ident=MAIN_PANEL", "gauge00=Orvex_Trainer!Airspeed, 20, 40",
              "gauge01=Orvex_Trainer!Altimeter, 180, 40", "gauge02=Orvex_Trainer!Compass, 340, 40",
              "gauge03=Orvex_Trainer!Tachometer, 500, 40"})},
      {"Orvex_Trainer_panel.bmp", panelBitmap("ORVEX TRAINER", 320, 120)},
      {"sound.cfg", lines({"[CONFIG]", "max_sounds=4", "", "[ENGINE]",
                           "filename=Orvex_Trainer_engine", "minimum_rpm=600", "maximum_rpm=2700",
                           "", "[ENGINE_START]", "filename=Orvex_Trainer_start"})},
      {"Orvex_Trainer_engine.wav", waveSound(90, 700)},
      {"Orvex_Trainer_start.wav", waveSound(60, 400)},
      {"Orvex_Trainer_t.bmp", textureBitmap(QColor(240, 200, 40), QColor(200, 60, 40), 64)},
      {"Orvex_Trainer_readme.txt",
       lines({"Orvex Trainer, a demonstration aircraft made by Orvex.", "",
              "Install it with Orvex: extract this archive into Orvex's Assembly folder,",
              "press Refresh, then the Install button."})},
      {"Orvex_Trainer.gau", standIn("gauge", "Orvex_Trainer.gau")},
      {"Orvex_Trainer.jpg", previewJpeg("Orvex Trainer")},
  };
  return a;
}

SampleArchive panel() {
  SampleArchive a{"panel_orvex_sport.zip", {}};
  a.files = {
      {"panel.cfg",
       lines({"[Window Titles]", "Window00=Sport Panel", "", "[Window00]",
              "file=Orvex_Sport_panel.bmp", "size_mm=640,200", "position=7", "visible=1",
              "ident=MAIN_PANEL", "gauge00=Orvex_Sport!Clock, 30, 30",
              "gauge01=Orvex_Sport!Airspeed, 190, 30", "gauge02=Orvex_Sport!Attitude, 350, 30"})},
      {"Orvex_Sport_panel.bmp", panelBitmap("ORVEX SPORT", 320, 100)},
      {"Orvex_Sport.gau", standIn("gauge", "Orvex_Sport.gau")},
      {"Orvex_Sport_click.wav", waveSound(1200, 60)},
      {"Orvex_Sport_panel.txt",
       lines({"Orvex Sport panel, a demonstration panel made by Orvex.", "",
              "Install it into the FSFSCONV folder or into an aircraft's panel folder."})},
  };
  return a;
}

SampleArchive sounds() {
  SampleArchive a{"sound_orvex_radial.zip", {}};
  a.files = {
      {"sound.cfg", lines({"[CONFIG]", "max_sounds=3", "", "[ENGINE]", "filename=Radial_idle",
                           "minimum_rpm=500", "", "[ENGINE_CRUISE]", "filename=Radial_cruise", "",
                           "[ENGINE_START]", "filename=Radial_start"})},
      {"Radial_start.wav", waveSound(55, 500)},
      {"Radial_idle.wav", waveSound(70, 600)},
      {"Radial_cruise.wav", waveSound(110, 600)},
      {"Radial_readme.txt",
       lines({"Orvex Radial, a demonstration sound set made by Orvex.", "",
              "Install it into the simulator's Sound folder or into an aircraft's sound "
              "folder."})},
  };
  return a;
}

SampleArchive scenery() {
  SampleArchive a{"scenery_orvex_island.zip", {}};
  a.files = {
      {"Orvex_Island.bgl", standIn("scenery file", "Orvex_Island.bgl")},
      {"Orvex_Island_airport.bgl", standIn("scenery file", "Orvex_Island_airport.bgl")},
      {"Orvex_Island_grass.bmp", textureBitmap(QColor(70, 140, 60), QColor(90, 160, 70), 64)},
      {"Orvex_Island_shore.r8", rawTexture8(64, 3)},
      {"Orvex_Island.txt",
       lines({"Orvex Island, a demonstration scenery made by Orvex.", "",
              "Give it a name on the Scenery tab, choose the main scenery folder and press "
              "Install."})},
  };
  return a;
}

// An aircraft as real ones are packed: a folder of its own with model, panel and sound folders
// and three liveries, each in its texture folder.
std::vector<DemoFile> racer(const std::string& in, const std::string& title) {
  return {
      {in + "Aircraft.cfg", lines({"[fltsim.0]",
                                   ("title=" + title).c_str(),
                                   "model=",
                                   "panel=",
                                   "sound=",
                                   "texture=",
                                   "",
                                   "[fltsim.1]",
                                   ("title=" + title + " Red").c_str(),
                                   "model=",
                                   "panel=",
                                   "sound=",
                                   "texture=1",
                                   "",
                                   "[fltsim.2]",
                                   ("title=" + title + " Blue").c_str(),
                                   "model=",
                                   "panel=",
                                   "sound=",
                                   "texture=2",
                                   "",
                                   "[General]",
                                   "atc_type=Orvex",
                                   "Category=airplane"})},
      {in + "Orvex_Racer.air", standIn("flight dynamics file", "Orvex_Racer.air")},
      {in + "Orvex_Racer_readme.txt",
       lines({(title + ", a demonstration aircraft made by Orvex, in three liveries.").c_str(), "",
              "Open this archive with Orvex's Open Archive button, press Refresh, then the",
              "Install button."})},
      {in + "model/Orvex_Racer.mdl", standIn("model", "Orvex_Racer.mdl")},
      {in + "panel/panel.cfg", lines({"[Window Titles]", "Window00=Main Panel", "", "[Window00]",
                                      "file=Orvex_Racer_panel.bmp", "size_mm=640,240", "visible=1",
                                      "gauge00=Orvex_Racer!Airspeed, 20, 40"})},
      {in + "panel/Orvex_Racer_panel.bmp", panelBitmap("ORVEX RACER", 320, 120)},
      {in + "panel/Orvex_Racer.gau", standIn("gauge", "Orvex_Racer.gau")},
      {in + "sound/sound.cfg",
       lines({"[CONFIG]", "max_sounds=1", "", "[ENGINE]", "filename=Orvex_Racer_engine"})},
      {in + "sound/Orvex_Racer_engine.wav", waveSound(120, 600)},
      {in + "texture/Orvex_Racer_t.bmp",
       textureBitmap(QColor(230, 230, 230), QColor(40, 40, 40), 64)},
      {in + "texture.1/Orvex_Racer_t.bmp",
       textureBitmap(QColor(200, 40, 40), QColor(240, 240, 240), 64)},
      {in + "texture.2/Orvex_Racer_t.bmp",
       textureBitmap(QColor(40, 70, 200), QColor(240, 240, 240), 64)},
  };
}

SampleArchive liveries() {
  return {"aircraft_orvex_racer_liveries.zip", racer("Orvex Racer/", "Orvex Racer")};
}

// Two aircraft in one archive, with the pack's own readme beside them.
SampleArchive pack() {
  SampleArchive a{"aircraft_orvex_pack.zip", racer("Orvex Pack/Racer/", "Orvex Pack Racer")};
  for (DemoFile& f : racer("Orvex Pack/Racer Two/", "Orvex Pack Racer Two")) a.files.push_back(f);
  a.files.push_back({"Orvex Pack/Orvex_Pack_readme.txt",
                     lines({"The Orvex Pack: two demonstration aircraft made by Orvex."})});
  return a;
}

// A repaint of the racer: its texture folder, and a readme with the section to add.
SampleArchive repaint() {
  return {"repaint_orvex_racer_gold.zip",
          {{"Orvex Racer Gold/texture.gold/Orvex_Racer_t.bmp",
            textureBitmap(QColor(220, 170, 30), QColor(30, 30, 30), 64)},
           {"Orvex Racer Gold/Orvex_Racer_Gold_readme.txt",
            lines({"A gold livery for the Orvex Racer, made by Orvex.", "",
                   "Open this archive with Orvex, press Refresh, choose the Orvex Racer and press",
                   "Install Livery. By hand: copy texture.gold into the aircraft's folder and add",
                   "this section to its Aircraft.cfg, numbered after the last one:", "",
                   "[fltsim.X]", "title=Orvex Racer Gold",
                   "model=", "panel=", "sound=", "texture=gold", "", "Happy flying!"})}}};
}

}  // namespace

std::vector<SampleArchive> sampleArchives() {
  return {aircraft(), panel(), sounds(), scenery(), liveries(), pack(), repaint()};
}

std::vector<DemoFile> simulatorFiles(const std::string& title, const std::string& checkFile) {
  const std::string cub = "Aircraft/Orvex Cub/";
  return {
      {checkFile, standIn("file of " + title, checkFile)},
      {"Scenery.cfg", "[General]\r\nTitle=" + title + " Scenery\r\nDescription=" + title +
                          " scenery areas\r\nClean_on_Exit=TRUE\r\n" +
                          lines({"",
                                 "[Area.001]",
                                 "Title=Default Terrain",
                                 "Local=Scenery\\World",
                                 "Layer=1",
                                 "Active=TRUE",
                                 "Required=TRUE",
                                 "",
                                 "[Area.002]",
                                 "Title=Default Airports",
                                 "Local=Scenery\\Airports",
                                 "Layer=2",
                                 "Active=TRUE",
                                 "Required=FALSE",
                                 "",
                                 "[Area.003]",
                                 "Title=Demo Coast",
                                 "Local=Scenery\\Coast",
                                 "Layer=3",
                                 "Active=TRUE",
                                 "Required=FALSE"})},
      // The default areas hold their scenery; the coast's folder is gone, as an add-on
      // removed by hand leaves it, for the Scenery Library to find.
      {"Scenery/World/scenery/World.bgl", standIn("scenery", "World.bgl")},
      {"Scenery/Airports/scenery/Airports.bgl", standIn("scenery", "Airports.bgl")},
      {cub + "aircraft.cfg", lines({"[fltsim.0]", "title=Orvex Cub", "sim=Orvex_Cub",
                                    "model=", "panel=", "sound=", "texture=", "atc_id=N1938",
                                    "ui_manufacturer=Orvex", "ui_type=Cub"})},
      {cub + "Orvex_Cub.air", standIn("flight dynamics file", "Orvex_Cub.air")},
      {cub + "model/Model.cfg", lines({"[models]", "normal=Orvex_Cub"})},
      {cub + "model/Orvex_Cub.mdl", standIn("model", "Orvex_Cub.mdl")},
      {cub + "panel/panel.cfg",
       lines({"[Window Titles]", "Window00=Main Panel", "", "[Window00]",
              "file=Orvex_Cub_panel.bmp", "size_mm=640,200", "visible=1"})},
      {cub + "panel/Orvex_Cub_panel.bmp", panelBitmap("ORVEX CUB", 160, 60)},
      {cub + "sound/sound.cfg", lines({"[ENGINE]", "filename=Orvex_Cub_engine"})},
      {cub + "sound/Orvex_Cub_engine.wav", waveSound(80, 300)},
      {cub + "texture/Orvex_Cub_t.bmp", textureBitmap(QColor(250, 220, 60), Qt::black, 32)},
  };
}

std::vector<std::string> simulatorFolders() {
  return {"Aircraft/FSFSCONV", "Gauges",           "Sound",
          "Scenery/World",     "Scenery/Airports", "Scenery/Coast"};
}

}  // namespace orvex::demo
