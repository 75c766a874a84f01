// The copy window frmAnimation: the copy animation and the name of the file in hand.
#pragma once

#include <QFrame>
#include <memory>
#include <string>

namespace orvex {

class AviPlayer;
class Binder;
class FileSystem;
class frmAnimation;

class CopyWindow : public QFrame {
  Q_OBJECT
 public:
  CopyWindow(frmAnimation& model, FileSystem& fs, QWidget* parent = nullptr);
  ~CopyWindow() override;

  AviPlayer* player() const { return player_; }

 private:
  void followAnimation();

  frmAnimation& model_;
  FileSystem& fs_;
  AviPlayer* player_;
  std::string openedFile_;
  std::unique_ptr<Binder> binder_;
};

}  // namespace orvex
