// Test doubles of the toolkit and the shell: every message box is recorded and answered
// from a script, the clock moves only when events are pumped, sounds and starts are logged.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/shell.h"
#include "platform/toolkit.h"

namespace orvex::test {

struct ShownBox {
  std::string text, caption;
  MsgIcon icon;
  MsgButtons buttons;
};

class FakeToolkit : public Toolkit {
 public:
  MsgAnswer msgBox(const std::string& text, const std::string& caption, MsgIcon icon,
                   MsgButtons buttons) override;
  void beep() override { ++beeps; }
  double clock() override { return now += clockStep; }
  void doEvents() override;
  int screenWidth() override { return screenW; }
  int screenHeight() override { return screenH; }
  void runModal(Form& form) override;
  void openHelp(const std::string& helpFile) override { helpOpened.push_back(helpFile); }
  std::string chooseFile(const std::string& caption, const std::string& filter) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& caption,
                                      const std::string& answer) override;
  void quit() override { ++quits; }

  // Answers for the next Yes/No boxes, in order; Yes when the script is empty.
  std::deque<MsgAnswer> answers;
  // The answer to every question of a caption, before the script above.
  std::map<std::string, MsgAnswer> answerTo;
  std::vector<ShownBox> boxes;
  int beeps = 0;
  int quits = 0;
  double now = 1000.0;
  double eventStep = 0.25;  // how far the clock moves per pumped event
  double clockStep = 0;     // how far it moves at each look, standing for work in between
  int screenW = 15360, screenH = 11520;
  std::vector<std::string> helpOpened;
  // The host paths the file dialog answers with, in order; empty (cancelled) when none left.
  std::deque<std::string> chosenFiles;
  // The answers to the next input boxes, in order (nothing: cancelled); with none left the text
  // offered is taken. Every input box asked: its prompt and the text it offered.
  std::deque<std::optional<std::string>> inputs;
  std::vector<std::pair<std::string, std::string>> inputBoxes;
  // Caption and filter of every file dialog asked for.
  std::vector<std::pair<std::string, std::string>> fileDialogs;
  // Runs while a form is shown modally; it must hide the form (default: hides it).
  std::function<void(Form&)> onModal;
  // Runs on each pumped event, to stand for clicks that arrive during a pause.
  std::function<void()> onEvents;
  // Runs while a Yes/No question is up, to stand for ticks and clicks the toolkit delivers then.
  std::function<void()> onQuestion;

  int countCaption(const std::string& caption) const;
};

class FakeShell : public Shell {
 public:
  int findExecutable(const std::string& document, std::string& program) override;
  int execute(const std::string& program) override;
  void playSound(const std::string& file) override { sounds.push_back(file); }

  int findCode = 42;
  std::string program = "/usr/bin/zipper";
  int executeCode = 42;
  std::vector<std::string> documents, started, sounds;
};

}  // namespace orvex::test
