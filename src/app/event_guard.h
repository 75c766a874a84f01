// The last guard around every event that reaches the program: a failure no procedure expected
// is caught where the event entered, never where it would cross the window toolkit's own code
// (a tick or click delivered while a message box or a pause waits), and carried over to the
// procedure that was waiting there.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/toolkit.h"

namespace orvex {

class EventGuard {
 public:
  // Runs one event's procedure. A failure that leaves it is handed to onUnexpected when the
  // event is the outermost one; when the event came through the toolkit while another
  // procedure waited in it, the failure is carried to that procedure and raised there as soon
  // as the toolkit returns; an event fired by the program itself fails in its caller.
  void run(const std::function<void()>& procedure);
  // Whether the event about to run starts afresh: the outermost one, or one the toolkit
  // delivered while a procedure waited in it (other programs may have run meanwhile).
  bool freshEvent() const;

  // What the outermost event does with a failure nobody expected.
  std::function<void(std::exception_ptr)> onUnexpected;

  // Around a toolkit call that may deliver events; raises a failure carried over meanwhile, as
  // the stop signal with that failure's message, which no procedure takes for one of its own.
  void enterToolkit() { ++toolkitDepth_; }
  void leaveToolkit();

 private:
  std::vector<int> frames_;  // the toolkit depth at the start of each running event
  int toolkitDepth_ = 0;
  std::exception_ptr carried_;
};

// The toolkit as the procedures reach it: every call that may deliver events goes through the
// guard.
class GuardedToolkit : public Toolkit {
 public:
  GuardedToolkit(Toolkit& inner, EventGuard& guard) : inner_(inner), guard_(guard) {}

  MsgAnswer msgBox(const std::string& text, const std::string& caption, MsgIcon icon,
                   MsgButtons buttons) override;
  void beep() override { inner_.beep(); }
  double clock() override { return inner_.clock(); }
  void doEvents() override;
  int screenWidth() override { return inner_.screenWidth(); }
  int screenHeight() override { return inner_.screenHeight(); }
  void runModal(Form& form) override;
  std::string chooseFile(const std::string& caption, const std::string& filter) override;
  std::optional<std::string> inputBox(const std::string& prompt, const std::string& caption,
                                      const std::string& answer) override;
  void openHelp(const std::string& helpFile) override { inner_.openHelp(helpFile); }
  void quit() override { inner_.quit(); }

 private:
  template <class Call>
  auto through(Call call);

  Toolkit& inner_;
  EventGuard& guard_;
};

// The text of an unexpected failure for the "System Error" message.
std::string unexpectedFailureText(std::exception_ptr failure);

}  // namespace orvex
