#include "editor/forms/LoadingDlg.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include "ui_LoadingDlg.h"

namespace editor {

namespace {

// The picture is drawn rather than shipped: a gradient with the program's name.
QPixmap SplashPicture() {
  QPixmap Picture(360, 200);
  QPainter Painter(&Picture);
  QLinearGradient Fill(0, 0, 360, 200);
  Fill.setColorAt(0, QColor(0x20, 0x40, 0x80));
  Fill.setColorAt(1, QColor(0x80, 0xB0, 0xE0));
  Painter.fillRect(Picture.rect(), Fill);
  Painter.setPen(Qt::white);
  QFont Font = Painter.font();
  Font.setPointSize(28);
  Font.setBold(true);
  Painter.setFont(Font);
  Painter.drawText(Picture.rect(), Qt::AlignCenter, QStringLiteral("Animora"));
  return Picture;
}

}  // namespace

TLoadForm::TLoadForm(QWidget* Parent) : QWidget(Parent), Ui(std::make_unique<::Ui::TLoadForm>()) {
  Ui->setupUi(this);
  Ui->Image1->setPixmap(SplashPicture());
}

TLoadForm::~TLoadForm() = default;

QLabel* TLoadForm::Image1() const { return Ui->Image1; }

}  // namespace editor
