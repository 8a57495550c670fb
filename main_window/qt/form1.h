#pragma once

#include <QDialog>
#include <QPointer>
#include <QSize>
#include <QString>

#include <memory>

class QLabel;
class QLineEdit;
class QRadioButton;
namespace Ui { class Form1; }
namespace tornevo { enum class FailureKind; }

// The program's one window: RCF/RPM conversion with its inputs, answer and logo.
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
    void ShowAnswer(const QString& text);
    void MarkAnswerOutOfDate();
    QRect PictureFocusMark() const;
    void ShowAnswerState();
    void ReportFailure(tornevo::FailureKind kind);
    void CentreOnScreen(const QSize& outer);
    void CorrectCentring();
    void TextBoxFocused(QLineEdit* box, int reason);
    void KeepTabStopOnSelection(QWidget* group);
    bool MoveSelection(QRadioButton* from, int key);

    static constexpr int PictureFocusMarkWidth = 2;

    std::unique_ptr<Ui::Form1> ui;
    // The outer size the window was centred with; empty once the real frame was used.
    QSize centredOuterSize_;
    // The text box whose next focus by window activation is one the program caused
    // (the start, the failure box closing), so it selects its text as on Tab.
    QPointer<QLineEdit> selectOnActivation_;
    // The text box that took the focus with a left mouse press; it selects on the release
    // unless the user dragged out a selection of their own.
    QPointer<QLineEdit> selectOnRelease_;
    // The unit of the answer on show, as it was calculated, and whether an input has
    // changed since that calculation.
    QString answerUnits_;
    bool answerOutOfDate_ = false;
};
