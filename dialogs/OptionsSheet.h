// "Options:": the program-wide settings (drag delay, plus signs, wheel, file-name case, parallel
// transfers of a folder job, default download folder) and the servers' connection settings. Applied values go to the settings file
// and to the settings the program runs with at once.
#pragma once

#include "dialogs/ServerPropertySheet.h"

#include <QAbstractSpinBox>

class QButtonGroup;
class QLabel;
class QSpinBox;

// Shows the sheet modally; true when the file-name case ("ShowName") in force changed while it was
// open, so the caller shows the listing again.
bool ShowOptions(QWidget* owner);

// The drag delay's arrows (1043) and its edit (1045) in one control: the arrows step the delay
// by the sheet's own rule, the edit takes a typed value.
class CDelaySpin : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit CDelaySpin(QWidget* parent = nullptr);
    QLineEdit* Edit() const { return lineEdit(); }

    void stepBy(int steps) override;
    std::function<void(int)> onStep;
    std::function<StepEnabled()> canStep;

protected:
    StepEnabled stepEnabled() const override;
};

class COptionsPage1 : public CPropertyPage {
    Q_OBJECT
public:
    explicit COptionsPage1(QWidget* parent = nullptr);
    bool OnApply() override;
    bool OnCancel() override;

    float DragDelay() const { return m_dragDelay; }
    int SpinPosition() const { return m_spinPosition; }

private:
    void Load();
    void Fill();
    void Step(int direction);
    void Typed(const QString& text);

    float m_dragDelay = 2.0f;
    int m_spinPosition = 2000;
    bool m_delayValid = true;
    bool m_filling = false;
    CDelaySpin* m_spin;
    QLabel* m_delayProblem;
    QCheckBox* m_showPlus;
    QButtonGroup* m_showName;
    QCheckBox* m_wheelOver;
    QCheckBox* m_useMlsd;
    QCheckBox* m_keepAlive;
    QCheckBox* m_useKeyring;
    QSpinBox* m_parallel; // connections one folder job may use
};

class COptionsPage2 : public CPropertyPage {
    Q_OBJECT
public:
    explicit COptionsPage2(QWidget* parent = nullptr);
    bool OnApply() override;
    bool OnCancel() override;

private:
    void Load();
    void Browse();

    QLineEdit* m_downloadDir;
    bool m_filling = false;
};

class COptions : public CPropertySheet {
    Q_OBJECT
public:
    explicit COptions(QWidget* parent = nullptr);
};
