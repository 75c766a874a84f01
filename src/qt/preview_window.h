// The preview frmPreview: where every file of the assembly area would go, before installing.
#pragma once

#include <QDialog>
#include <memory>

namespace orvex {

class Binder;
class frmPreview;

class PreviewWindow : public QDialog {
  Q_OBJECT
 public:
  explicit PreviewWindow(frmPreview& model, QWidget* parent = nullptr);
  ~PreviewWindow() override;

  // Escape or the window's close button close it like its Close button.
  void reject() override;

 private:
  frmPreview& model_;
  std::unique_ptr<Binder> binder_;
};

}  // namespace orvex
