// The copy window frmAnimation: the copy animation and the name of the file in hand.
#include "qt/copy_window.h"

#include <exception>

#include "platform/file_system.h"
#include "qt/avi_player.h"
#include "qt/binder.h"
#include "qt/clickable_label.h"
#include "qt/qt_text.h"
#include "qt/twips.h"
#include "ui/windows.h"

namespace orvex {

CopyWindow::CopyWindow(frmAnimation& model, FileSystem& fs, QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint), model_(model), fs_(fs) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  binder_ = std::make_unique<Binder>(model_, this);

  player_ = placed<AviPlayer>(this, 120, 120, 4560, 960);
  player_->setAlignment(Qt::AlignCenter);
  player_->setObjectName(QString::fromStdString(model_.Animation1.name()));
  player_->setAccessibleName(tr("Copy animation"));
  model_.Animation1.onUpdate = [this] { followAnimation(); };
  followAnimation();

  auto* name = placed<ClickableLabel>(this, 120, 1200, 4560, 420);
  name->setAlignment(Qt::AlignCenter);
  binder_->label(model_.labAnimation, name, tr("File being copied"));
}

CopyWindow::~CopyWindow() {
  model_.Animation1.onUpdate = nullptr;
}

void CopyWindow::followAnimation() {
  player_->setVisible(model_.Animation1.visible());
  const std::string& file = model_.Animation1.file();
  if (file == openedFile_) return;
  openedFile_ = file;
  QString host;
  try {
    host = file.empty() ? QString() : toQt(fs_.hostPath(file));
  } catch (const std::exception&) {
    host.clear();
  }
  // Without its animation the window still names the file being copied.
  if (host.isEmpty() || !player_->open(host)) player_->close();
}

}  // namespace orvex
