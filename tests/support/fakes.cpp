// The scripted toolkit and shell of the tests.
#include "support/fakes.h"

#include "ui/controls.h"

namespace orvex::test {

MsgAnswer FakeToolkit::msgBox(const std::string& text, const std::string& caption, MsgIcon icon,
                              MsgButtons buttons) {
  boxes.push_back({text, caption, icon, buttons});
  if (buttons == MsgButtons::OK) return MsgAnswer::OK;
  if (onQuestion) onQuestion();
  if (const auto given = answerTo.find(caption); given != answerTo.end()) return given->second;
  if (answers.empty()) return MsgAnswer::Yes;
  MsgAnswer a = answers.front();
  answers.pop_front();
  return a;
}

void FakeToolkit::doEvents() {
  now += eventStep;
  if (onEvents) onEvents();
}

void FakeToolkit::runModal(Form& form) {
  if (onModal)
    onModal(form);
  else
    form.hide();
}

std::string FakeToolkit::chooseFile(const std::string& caption, const std::string& filter) {
  fileDialogs.emplace_back(caption, filter);
  if (chosenFiles.empty()) return {};
  std::string chosen = chosenFiles.front();
  chosenFiles.pop_front();
  return chosen;
}

std::optional<std::string> FakeToolkit::inputBox(const std::string& prompt, const std::string&,
                                                 const std::string& answer) {
  inputBoxes.emplace_back(prompt, answer);
  if (inputs.empty()) return answer;
  std::optional<std::string> text = inputs.front();
  inputs.pop_front();
  return text;
}

int FakeToolkit::countCaption(const std::string& caption) const {
  int n = 0;
  for (const ShownBox& b : boxes) n += b.caption == caption;
  return n;
}

int FakeShell::findExecutable(const std::string& document, std::string& out) {
  documents.push_back(document);
  if (findCode > 32) out = "  " + program + "  ";
  return findCode;
}

int FakeShell::execute(const std::string& p) {
  started.push_back(p);
  return executeCode;
}

}  // namespace orvex::test
