// Catching what no procedure expected, at the one place where an event enters the program.
#include "app/event_guard.h"

#include <type_traits>

#include "platform/errors.h"

namespace orvex {

bool EventGuard::freshEvent() const {
  return frames_.empty() || toolkitDepth_ > frames_.back();
}

void EventGuard::run(const std::function<void()>& procedure) {
  const bool outermost = frames_.empty();
  const bool throughToolkit = !outermost && toolkitDepth_ > frames_.back();
  frames_.push_back(toolkitDepth_);
  std::exception_ptr failure;
  try {
    procedure();
  } catch (...) {
    failure = std::current_exception();
  }
  frames_.pop_back();
  if (!failure) return;
  if (outermost) {
    if (onUnexpected) onUnexpected(failure);
    return;
  }
  if (throughToolkit) {
    // Thrown here it would cross the toolkit's own code; the waiting procedure gets it.
    if (!carried_) carried_ = failure;
    return;
  }
  std::rethrow_exception(failure);
}

void EventGuard::leaveToolkit() {
  --toolkitDepth_;
  if (!carried_) return;
  std::exception_ptr failure = carried_;
  carried_ = nullptr;
  throw StopFailure(unexpectedFailureText(failure));
}

template <class Call>
auto GuardedToolkit::through(Call call) {
  guard_.enterToolkit();
  if constexpr (std::is_void_v<decltype(call())>) {
    try {
      call();
    } catch (...) {
      guard_.leaveToolkit();
      throw;
    }
    guard_.leaveToolkit();
  } else {
    decltype(call()) result;
    try {
      result = call();
    } catch (...) {
      guard_.leaveToolkit();
      throw;
    }
    guard_.leaveToolkit();
    return result;
  }
}

MsgAnswer GuardedToolkit::msgBox(const std::string& text, const std::string& caption, MsgIcon icon,
                                 MsgButtons buttons) {
  return through([&] { return inner_.msgBox(text, caption, icon, buttons); });
}

void GuardedToolkit::doEvents() {
  through([&] { inner_.doEvents(); });
}

void GuardedToolkit::runModal(Form& form) {
  through([&] { inner_.runModal(form); });
}

std::string GuardedToolkit::chooseFile(const std::string& caption, const std::string& filter) {
  return through([&] { return inner_.chooseFile(caption, filter); });
}

std::optional<std::string> GuardedToolkit::inputBox(const std::string& prompt,
                                                    const std::string& caption,
                                                    const std::string& answer) {
  return through([&] { return inner_.inputBox(prompt, caption, answer); });
}

std::string unexpectedFailureText(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const StopFailure& e) {
    return e.what();
  } catch (const FileError& e) {
    return errorMessage("Error ", e);
  } catch (const std::exception& e) {
    return std::string("Error ") + e.what();
  } catch (...) {
  }
  return "Error: an unexpected failure";
}

}  // namespace orvex
