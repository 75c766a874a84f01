// Runs a procedure's steps in order; when a step fails, the procedure's one handler says
// where to go on: the next step, a named step, or stop.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/errors.h"

namespace orvex {

struct Step {
  std::string label;  // empty for steps that are never resumed at by name
  std::function<void()> run;
};

struct Resume {
  // Replace is understood by the copy pass only: a failed copy is made again after the
  // target's attributes have been cleared (the user agreed to overwrite it).
  enum class Kind { Next, At, Stop, Replace } kind = Kind::Next;
  std::string label;
  static Resume next() { return {Kind::Next, {}}; }
  static Resume replace() { return {Kind::Replace, {}}; }
  static Resume at(std::string label) { return {Kind::At, std::move(label)}; }
  static Resume stop() { return {Kind::Stop, {}}; }
};

using StepHandler = std::function<Resume(const FileError& error, const Step& failed)>;

// Returns false when the handler stopped the run.
bool runSteps(const std::vector<Step>& steps, const StepHandler& handler);

}  // namespace orvex
