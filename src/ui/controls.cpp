// Control models: properties, notifications and the events a toolkit would fire.
#include "ui/controls.h"

#include <algorithm>
#include <cctype>

#include "platform/errors.h"
#include "platform/file_system.h"

namespace orvex {

Control::Control(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) {
  owner_.controls_.push_back(this);
}

void Control::update() {
  if (onUpdate) onUpdate();
}

void Control::setVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  update();
}

void Control::setEnabled(bool e) {
  if (enabled_ == e) return;
  enabled_ = e;
  update();
}

void Control::setCaption(const std::string& c) {
  if (caption_ == c) return;
  caption_ = c;
  update();
}

void Control::setToolTip(const std::string& t) {
  toolTip_ = t;
  update();
}

void Control::setTop(int twips) {
  if (top_ == twips) return;
  top_ = twips;
  update();
}

void Control::setFocus() {
  owner_.setFocusTo(this);
}
bool Control::hasFocus() const {
  return owner_.focus() == this;
}

void setVisible(std::initializer_list<Control*> controls, bool visible) {
  for (Control* c : controls) c->setVisible(visible);
}

void Button::click() {
  if (onClick) onClick();
}

void Label::setColours(Colour back, Colour fore) {
  back_ = back;
  fore_ = fore;
  update();
}

void Label::refresh() {
  if (onRefresh) onRefresh();
}

OptionButton::OptionButton(Form& owner, std::string name, OptionGroup& group)
    : Control(owner, std::move(name)), group_(group) {
  group_.add(this);
}

void OptionButton::select(bool v) {
  if (value_ == v) return;
  value_ = v;
  update();
}

void OptionButton::setValue(bool v) {
  if (!v) {
    select(false);
    return;
  }
  group_.previous_ = nullptr;
  for (OptionButton* member : group_.members())
    if (member->value_) group_.previous_ = member;
  for (OptionButton* other : group_.members())
    if (other != this) other->select(false);
  select(true);
  if (onClick) onClick();
}

void OptionGroup::restorePrevious() {
  for (OptionButton* member : members_) member->select(member == previous_);
}

void CheckBox::setValue(int v) {
  if (value_ == v) return;
  value_ = v;
  update();
  if (onClick) onClick();
}

void TextBox::setText(const std::string& t) {
  if (text_ == t) return;
  text_ = t;
  selStart_ = std::min<int>(selStart_, int(text_.size()));
  selLength_ = 0;
  update();
  if (onChange) onChange();
}

void TextBox::setSelStart(int s) {
  selStart_ = std::clamp(s, 0, int(text_.size()));
  selLength_ = 0;
  update();
}

void TextBox::setSelLength(int l) {
  selLength_ = std::clamp(l, 0, int(text_.size()) - selStart_);
  update();
}

void PictureBox::setPicture(const std::string& dosPath) {
  picture_ = dosPath;
  update();
}

void TabStrip::setTab(int t) {
  if (tab_ == t) return;
  tab_ = t;
  update();
  if (onClick) onClick();
}

void Timer::setInterval(int ms) {
  if (interval_ == ms) return;
  interval_ = ms;
  update();
}

void Timer::setTimerEnabled(bool e) {
  if (timerEnabled_ == e) return;
  timerEnabled_ = e;
  update();
}

void Timer::tick() {
  if (running() && onTimer) onTimer();
}

void ListView::setColumns(std::vector<std::string> columns) {
  columns_ = std::move(columns);
  update();
}

void ListView::setRows(std::vector<std::vector<std::string>> rows) {
  rows_ = std::move(rows);
  checked_.assign(rows_.size(), false);
  listIndex_ = -1;
  update();
}

bool ListView::checked(int row) const {
  return checkable && row >= 0 && size_t(row) < checked_.size() && checked_[size_t(row)];
}

void ListView::setChecked(int row, bool on) {
  if (!checkable || row < 0 || size_t(row) >= checked_.size() || checked_[size_t(row)] == on)
    return;
  checked_[size_t(row)] = on;
  update();
  if (onCheck) onCheck();
}

int ListView::checkedCount() const {
  return checkable ? int(std::count(checked_.begin(), checked_.end(), true)) : 0;
}

void ListView::setListIndex(int i) {
  if (i < -1 || i >= int(rows_.size())) i = -1;
  if (i == listIndex_) return;
  listIndex_ = i;
  update();
  if (onChange) onChange();
}

void ProgressBar::setValue(int v) {
  v = std::clamp(v, 0, std::max(maximum_, 0));
  if (value_ == v) return;
  value_ = v;
  update();
}

void ProgressBar::setMaximum(int m) {
  m = std::max(m, 0);
  if (maximum_ == m) return;
  maximum_ = m;
  value_ = std::min(value_, m);
  update();
}

DriveList::DriveList(Form& owner, std::string name, FileSystem& fs)
    : Control(owner, std::move(name)), fs_(fs) {}

namespace {
std::string driveText(const std::string& d) {
  std::string drive = d.size() >= 2 ? d.substr(0, 2) : d;
  for (char& c : drive) c = char(std::tolower(static_cast<unsigned char>(c)));
  return drive;
}
}  // namespace

void DriveList::setDrive(const std::string& d) {
  const std::string drive = driveText(d);
  if (drive == drive_) return;
  drive_ = drive;
  update();
  if (onChange) onChange();
}

void DriveList::showDrive(const std::string& d) {
  const std::string drive = driveText(d);
  if (drive == drive_) return;
  drive_ = drive;
  update();
}

std::vector<std::string> DriveList::drives() const {
  return fs_.drives();
}

DirList::DirList(Form& owner, std::string name, FileSystem& fs)
    : Control(owner, std::move(name)), fs_(fs) {}

void DirList::setPath(const std::string& p) {
  std::string full = fs_.fullPath(p);
  if (!fs_.isDirectory(full)) throw FileError(err::PathNotFound);
  loaded_ = false;
  listIndex_ = -1;
  if (full == path_) return;
  path_ = full;
  update();
  if (onChange) onChange();
}

void DirList::load() {
  if (loaded_) return;
  dirs_ = path_.empty() ? std::vector<std::string>{} : fs_.listDirs(path_);
  loaded_ = true;
}

int DirList::listCount() {
  load();
  return int(dirs_.size());
}

std::string DirList::list(int i) {
  load();
  if (i < 0 || i >= int(dirs_.size())) return {};
  return dirs_[size_t(i)];
}

void DirList::setListIndex(int i) {
  listIndex_ = i;
  update();
}

FileList::FileList(Form& owner, std::string name, FileSystem& fs)
    : Control(owner, std::move(name)), fs_(fs) {}

void FileList::setPath(const std::string& p) {
  path_ = p;
  refresh();
}

void FileList::setPattern(const std::string& p) {
  pattern_ = p;
  refresh();
}

void FileList::refresh() {
  loaded_ = false;
  listIndex_ = -1;
}

void FileList::load() {
  if (loaded_) return;
  files_ = path_.empty() ? std::vector<std::string>{} : fs_.listFiles(path_, pattern_);
  loaded_ = true;
}

int FileList::listCount() {
  load();
  return int(files_.size());
}

const std::string& FileList::list(int i) {
  static const std::string none;
  load();
  if (i < 0 || i >= int(files_.size())) return none;
  return files_[size_t(i)];
}

void FileList::setListIndex(int i) {
  listIndex_ = i;
}

void Animation::setFile(const std::string& dosPath) {
  file_ = dosPath;
  update();
}

Form::Form(std::string name) : name_(std::move(name)) {}

void Form::update() {
  if (onUpdate) onUpdate();
}

void Form::setCaption(const std::string& c) {
  caption_ = c;
  update();
}

void Form::show() {
  if (visible_) return;
  visible_ = true;
  update();
}

void Form::hide() {
  if (!visible_) return;
  visible_ = false;
  update();
}

void Form::move(int left, int top) {
  left_ = left;
  top_ = top;
  update();
}

void Form::setSize(int width, int height) {
  width_ = width;
  height_ = height;
  update();
}

void Form::setMousePointer(MousePointer p) {
  if (pointer_ == p) return;
  pointer_ = p;
  update();
}

void Form::setFocusTo(const Control* c) {
  focus_ = c;
  if (onFocus) onFocus();
}

}  // namespace orvex
