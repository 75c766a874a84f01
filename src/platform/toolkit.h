// What the procedures need from the window toolkit beyond the control models: message
// boxes, the beep, a monotonic clock, pending events, the screen, modal windows, help.
#pragma once

#include <optional>
#include <string>

namespace orvex {

class Form;

enum class MsgIcon { None, Information, Warning, Critical };
enum class MsgButtons { OK, YesNo, YesNoAllCancel, YesNoCancel };
enum class MsgAnswer { OK, Yes, No, YesToAll, Cancel };

class Toolkit {
 public:
  virtual ~Toolkit() = default;

  // A modal message box; lines of text are separated by carriage returns.
  virtual MsgAnswer msgBox(const std::string& text, const std::string& caption, MsgIcon icon,
                           MsgButtons buttons) = 0;
  virtual void beep() = 0;
  // Seconds on a clock that never jumps back.
  virtual double clock() = 0;
  // Lets the window system handle pending events (clicks, repaints, timer ticks).
  virtual void doEvents() = 0;
  // Screen size in twips.
  virtual int screenWidth() = 0;
  virtual int screenHeight() = 0;
  // Shows a form modally; returns when the form has been hidden.
  virtual void runModal(Form& form) = 0;
  // Asks for a file to open; caption titles the dialog, filter reads "Archives (*.zip *.7z)".
  // Returns the host path chosen, empty when the user cancelled.
  virtual std::string chooseFile(const std::string& caption, const std::string& filter) = 0;
  // A modal question with a text box, filled with answer at first: the text when the user says
  // OK, nothing when they cancel.
  virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& caption,
                                              const std::string& answer) = 0;
  // Opens the program's help.
  virtual void openHelp(const std::string& helpFile) = 0;
  // Ends the program: every window closes and the event loop stops.
  virtual void quit() = 0;
};

}  // namespace orvex
