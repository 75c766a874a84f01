// The Toolkit on Qt, with a scripted message-box answer queue for tests.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <deque>
#include <string>
#include <vector>

#include "platform/toolkit.h"

namespace orvex {

class FileSystem;
class HelpWindow;

class QtToolkit : public Toolkit {
 public:
  // A message box as it was asked for, and how it was answered.
  struct ShownBox {
    std::string caption;
    std::string text;
    MsgIcon icon;
    MsgButtons buttons;
    MsgAnswer answer;
    bool scripted;  // answered from the script, never shown
  };

  explicit QtToolkit(FileSystem& fs);
  ~QtToolkit() override;

  MsgAnswer msgBox(const std::string& text, const std::string& caption, MsgIcon icon,
                   MsgButtons buttons) override;
  void beep() override;
  double clock() override;
  void doEvents() override;
  int screenWidth() override;
  int screenHeight() override;
  // Shows the window whose object name is the form's name, modal, until the form is hidden.
  void runModal(Form& form) override;
  std::string chooseFile(const std::string& caption, const std::string& filter) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& caption,
                                      const std::string& answer) override;
  void openHelp(const std::string& helpFile) override;
  void quit() override;

  // True once quit() has run: windows closing then must not start a shutdown of their own.
  bool quitting() const { return quitting_; }

  // Test hooks. A queued answer answers the next message box without showing it.
  void answerNext(MsgAnswer answer) { script_.push_back(answer); }
  // A queued host path answers the next file dialog without showing it.
  void chooseFileNext(const std::string& hostPath) { files_.push_back(hostPath); }
  // A queued text answers the next input box without showing it; nothing cancels it.
  void inputNext(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
  // Unattended: with no queued answer a box is not shown either and gets OK (or No).
  void setUnattended(bool unattended) { unattended_ = unattended; }
  const std::vector<ShownBox>& shownBoxes() const { return shown_; }
  int beeps() const { return beeps_; }
  HelpWindow* helpWindow() const;

 private:
  FileSystem& fs_;
  QElapsedTimer clock_;
  std::deque<MsgAnswer> script_;
  std::deque<std::string> files_;
  std::deque<std::optional<std::string>> inputs_;
  std::vector<ShownBox> shown_;
  bool unattended_ = false;
  bool quitting_ = false;
  int beeps_ = 0;
  QPointer<HelpWindow> help_;
};

}  // namespace orvex
