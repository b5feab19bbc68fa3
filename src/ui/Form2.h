#pragma once

#include "ui/DialogPlacement.h"
#include "ui/SpinEdit.h"

#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;

namespace fenu {

/// The custom settings dialog ("Benutzerdefiniert..."): number and radius of the
/// alien balls, the player's radius and the maximum start speed.
///
/// Created once and only shown and hidden, so every showing presents what the
/// fields held when it was last closed. exec() returns Accepted for "Start" (or
/// Enter) and Rejected for "Abbrechen", Escape and the close box.
class TForm2 : public TCentredDialog {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 417;
    static constexpr int ClientHeight = 200;

    explicit TForm2(QWidget* parent = nullptr);

    /// The fields' integers within their ranges (see TSpinEdit::Value).
    int32_t BallCount() const { return SpinEdit_Balls->Value(); }
    int32_t BallRadius() const { return SpinEdit_BallsRadius->Value(); }
    int32_t PlayerRadius() const { return SpinEdit_Radius->Value(); }
    int32_t MaxSpeed() const { return SpinEdit_MaxSpeed->Value(); }

    void done(int result) override;

    static const QString MaxSpeedCaption;

    QGroupBox* GroupBox_Balls;
    QLabel* Label_Count;
    TSpinEdit* SpinEdit_Balls;
    QLabel* Label_BallsRadius;
    TSpinEdit* SpinEdit_BallsRadius;
    QGroupBox* GroupBox_Player;
    QLabel* Label_Radius;
    TSpinEdit* SpinEdit_Radius;
    QGroupBox* GroupBox_Other;
    QLabel* Label_MaxSpeed;
    TSpinEdit* SpinEdit_MaxSpeed;
    QPushButton* Button_Cancel;
    QPushButton* Button_Start;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitLabel(QLabel* label);
};

} // namespace fenu
