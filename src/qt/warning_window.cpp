// The one-time warning frmWinZipWarning, shown before the zip program is started.
#include "qt/warning_window.h"

#include <QCheckBox>
#include <QPushButton>

#include "qt/binder.h"
#include "qt/clickable_label.h"
#include "qt/picture_view.h"
#include "qt/resources.h"
#include "qt/twips.h"
#include "ui/windows.h"

namespace orvex {

WarningWindow::WarningWindow(frmWinZipWarning& model, FileSystem& fs, QWidget* parent)
    : QDialog(parent), model_(model) {
  initResources();
  binder_ = std::make_unique<Binder>(model_, this);
  Binder& b = *binder_;

  const QImage warning = builtInImage("warning.png");
  b.picture(model_.Picture1, placed<PictureView>(this, 240, 240, 1560, 1560), warning, fs, warning,
            tr("Warning"));

  auto* text = placed<ClickableLabel>(this, 1920, 180, 3840, 1920);
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignCenter);
  QFont script = text->font();
  script.setFamilies({QStringLiteral("URW Chancery L"), QStringLiteral("Z003"),
                      QStringLiteral("TeX Gyre Chorus"), QStringLiteral("Brush Script MT")});
  script.setStyleHint(QFont::Cursive);
  script.setPointSize(18);
  script.setItalic(true);
  text->setFont(script);
  b.label(model_.labZipWarning, text, tr("Warning"));

  b.checkBox(model_.chkNotAgain, placed<QCheckBox>(this, 240, 2280, 3960, 330));
  auto* ok = placed<QPushButton>(this, 4440, 2220, 1320, 450);
  ok->setDefault(true);
  b.button(model_.cmdOK, ok);
}

WarningWindow::~WarningWindow() = default;

void WarningWindow::reject() {
  model_.hide();
  QDialog::reject();
}

}  // namespace orvex
