// The Toolkit on Qt: message boxes, beep, clock, event pump, screen, modal windows, help, quit.
#include "qt/qt_toolkit.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <exception>

#include "platform/file_system.h"
#include "qt/help_window.h"
#include "qt/qt_text.h"
#include "qt/twips.h"
#include "ui/controls.h"

namespace orvex {
namespace {

QMessageBox::Icon qtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QWidget* windowNamed(const std::string& name) {
  const QString wanted = QString::fromStdString(name);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == wanted) return w;
  return nullptr;
}

QScreen* screen() {
  return QGuiApplication::primaryScreen();
}

}  // namespace

QtToolkit::QtToolkit(FileSystem& fs) : fs_(fs) {
  clock_.start();
}

QtToolkit::~QtToolkit() {
  delete help_.data();
}

MsgAnswer QtToolkit::msgBox(const std::string& text, const std::string& caption, MsgIcon icon,
                            MsgButtons buttons) {
  const MsgAnswer unattendedAnswer =
      buttons == MsgButtons::YesNo ? MsgAnswer::No
      : buttons == MsgButtons::YesNoAllCancel || buttons == MsgButtons::YesNoCancel
          ? MsgAnswer::Cancel
          : MsgAnswer::OK;
  if (!script_.empty() || unattended_) {
    MsgAnswer answer = unattendedAnswer;
    if (!script_.empty()) {
      answer = script_.front();
      script_.pop_front();
    }
    shown_.push_back({caption, text, icon, buttons, answer, true});
    return answer;
  }
  QMessageBox box(qtIcon(icon), toQt(caption), captionLines(text), QMessageBox::NoButton,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  if (buttons == MsgButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
  } else if (buttons == MsgButtons::YesNoAllCancel) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll |
                           QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
  } else if (buttons == MsgButtons::YesNoCancel) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int pressed = box.exec();
  MsgAnswer answer = MsgAnswer::OK;
  if (buttons == MsgButtons::YesNo)
    answer = pressed == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
  else if (buttons == MsgButtons::YesNoAllCancel || buttons == MsgButtons::YesNoCancel)
    answer = pressed == QMessageBox::Yes        ? MsgAnswer::Yes
             : pressed == QMessageBox::No       ? MsgAnswer::No
             : pressed == QMessageBox::YesToAll ? MsgAnswer::YesToAll
                                                : MsgAnswer::Cancel;
  shown_.push_back({caption, text, icon, buttons, answer, false});
  return answer;
}

void QtToolkit::beep() {
  ++beeps_;
  QApplication::beep();
}

double QtToolkit::clock() {
  return double(clock_.nsecsElapsed()) / 1e9;
}

void QtToolkit::doEvents() {
  // Waits a little for events when none are pending, so that a waiting loop stays cheap.
  QTimer wake;
  wake.setSingleShot(true);
  wake.start(10);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

int QtToolkit::screenWidth() {
  return pixelsToTwips(screen() ? screen()->size().width() : 800);
}

int QtToolkit::screenHeight() {
  return pixelsToTwips(screen() ? screen()->size().height() : 600);
}

void QtToolkit::runModal(Form& form) {
  QPointer<QWidget> window = windowNamed(form.name());
  if (!window) {
    form.show();  // nothing on screen could ever hide it again
    return;
  }
  // Modality only takes effect when the window is shown, so one already up is shown again.
  const bool wasShown = window->isVisible();
  if (wasShown) window->hide();
  window->setWindowModality(Qt::ApplicationModal);
  if (wasShown) window->show();
  QEventLoop loop;
  const std::function<void()> bound = form.onUpdate;
  form.onUpdate = [&form, &loop, bound] {
    if (bound) bound();
    if (!form.visible()) loop.quit();
  };
  form.show();
  if (!window->isVisible()) window->show();
  if (form.visible()) loop.exec(QEventLoop::DialogExec);
  if (window) {
    form.onUpdate = bound;
    window->setWindowModality(Qt::NonModal);
  } else {
    form.onUpdate = nullptr;
  }
}

std::string QtToolkit::chooseFile(const std::string& caption, const std::string& filter) {
  if (!files_.empty()) {
    std::string chosen = files_.front();
    files_.pop_front();
    return chosen;
  }
  if (unattended_) return {};
  // Read-only: choosing a file to open is no place to rename, delete or make files.
  const QString chosen =
      QFileDialog::getOpenFileName(QApplication::activeWindow(), toQt(caption), QString(),
                                   toQt(filter), nullptr, QFileDialog::ReadOnly);
  return chosen.isEmpty() ? std::string() : QFile::encodeName(chosen).toStdString();
}

std::optional<std::string> QtToolkit::inputBox(const std::string& prompt,
                                               const std::string& caption,
                                               const std::string& answer) {
  if (!inputs_.empty()) {
    std::optional<std::string> text = inputs_.front();
    inputs_.pop_front();
    return text;
  }
  if (unattended_) return std::nullopt;
  QInputDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle(toQt(caption));
  dialog.setLabelText(captionLines(prompt));
  dialog.setTextValue(toQt(answer));
  dialog.setInputMode(QInputDialog::TextInput);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return fromQt(dialog.textValue());
}

void QtToolkit::openHelp(const std::string& helpFile) {
  if (!help_) help_ = new HelpWindow;
  QString host;
  try {
    host = toQt(fs_.hostPath(helpFile));
  } catch (const std::exception&) {
    host.clear();
  }
  help_->showFile(host, toQt(helpFile));
}

HelpWindow* QtToolkit::helpWindow() const {
  return help_.data();
}

void QtToolkit::quit() {
  quitting_ = true;
  QApplication::closeAllWindows();
  // exit() with no loop running would make every later loop return at once.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

}  // namespace orvex
