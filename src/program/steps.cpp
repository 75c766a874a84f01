// The step runner behind "go on with the step after the failing one".
#include "program/steps.h"

namespace orvex {

bool runSteps(const std::vector<Step>& steps, const StepHandler& handler) {
  size_t k = 0;
  while (k < steps.size()) {
    try {
      steps[k].run();
      ++k;
    } catch (const FileError& e) {
      Resume r = handler(e, steps[k]);
      switch (r.kind) {
        case Resume::Kind::Next:
        case Resume::Kind::Replace: ++k; break;
        case Resume::Kind::Stop: return false;
        case Resume::Kind::At: {
          size_t target = steps.size();
          for (size_t j = 0; j < steps.size(); ++j)
            if (steps[j].label == r.label) target = j;
          k = target;
          break;
        }
      }
    }
  }
  return true;
}

}  // namespace orvex
