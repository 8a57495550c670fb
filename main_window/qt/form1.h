#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

#include "presenter.h"

#include <array>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QRadioButton;
namespace Ui { class Form1; }
namespace tornevo { enum class FailureKind; }

// The program's one window: RCF/RPM conversion with its inputs, answer and logo. A view
// of the presenter: it passes the user's events in and shows what the presenter holds.
class Form1 : public QDialog {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private slots:
    void CommandCalculate_Click();
    void CommandExit_Click();
    void OptionRCF_Click();
    void OptionRPM_Click();

private:
    void Form_Load();
    void TextConvert_GotFocus();
    void TextRadius_GotFocus();
    void CalculateAnswer();

    void UseContactFont();
    void PaintBackgrounds();
    void ScaleToFont();
    void FitCaptions();
    void ShowLogo();
    void UseIconSet();
    using Id = tornevo::form::Id;
    void OptionClick(Id option);
    void Show(unsigned changes);
    void ShowAnswer(const QString& text);
    QRect PictureFocusMark() const;
    void ShowAnswerState();
    void ReportFailure(tornevo::FailureKind kind);
    void CentreOnScreen(const QSize& outer);
    void CorrectCentring();
    void SelectAll(Id box);
    void TextBoxFocused(Id box, int reason);
    void KeepTabStopOnSelection(QWidget* group);
    bool MoveSelection(Id from, int key);
    QWidget* Widget(Id id) const;
    std::optional<Id> IdOf(const QObject* control) const;

    static constexpr int PictureFocusMarkWidth = 2;

    std::unique_ptr<Ui::Form1> ui;
    std::array<QWidget*, tornevo::form::ControlCount> controls_{}; // by id
    tornevo::Presenter presenter_;
    // The outer size the window was centred with; empty once the real frame was used.
    QSize centredOuterSize_;
};
