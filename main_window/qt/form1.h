#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

#include "presenter.h"

#include <array>
#include <optional>

namespace tornevo { enum class FailureKind; }

// The program's one window: RCF/RPM conversion with its inputs, answer and logo, built
// from the shared form table as the Win32 window is. A view of the presenter: it passes
// the user's events in and renders the presenter's whole state after each.
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

private:
    using Id = tornevo::form::Id;
    void Form_Load();
    void OptionClick(Id option);
    void TextChange(Id box, const QString& text);
    void TextConvert_GotFocus();
    void TextRadius_GotFocus();
    // Shows the presenter's whole state and carries out its requests.
    void Render();

    void CreateControls();
    void UseContactFont();
    void PaintBackgrounds();
    void ScaleToFont();
    void FitCaptions();
    void ShowLogo();
    void UseIconSet();
    void ShowAnswer(const QString& text);
    QRect PictureFocusMark() const;
    void ShowAnswerState();
    void ReportFailure(tornevo::FailureKind kind);
    void CentreOnScreen(const QSize& outer);
    void CorrectCentring();
    bool MoveSelection(Id from, int key);
    QWidget* Widget(Id id) const;
    template <Id id> auto* Widget() const; // as the class of its kind
    std::optional<Id> IdOf(const QObject* control) const;

    static constexpr int PictureFocusMarkWidth = 2;

    std::array<QWidget*, tornevo::form::ControlCount> controls_{}; // by id
    tornevo::Presenter presenter_;
    // The outer size the window was centred with; empty once the real frame was used.
    QSize centredOuterSize_;
};
