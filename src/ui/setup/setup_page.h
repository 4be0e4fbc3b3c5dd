#pragma once
// CSetupPage is one page of the setup sheet. It takes its values from the SetupContext when
// it is made. The sheet asks validate() when the user leaves the page or presses OK, and,
// when the sheet closes by either button, calls writeBack() on every page that was shown,
// so a page the user never opened writes nothing. Every edit marks the page changed.

#include "ui/setup/setup_context.h"

#include <QWidget>

class CSetupPage : public QWidget {
    Q_OBJECT
public:
    explicit CSetupPage(SetupContext& context, QWidget* parent = nullptr);

    // The caption of the page's tab.
    virtual QString title() const = 0;
    // False, after telling the user which field is refused and putting the focus in it,
    // when a field cannot be taken.
    virtual bool validate() { return true; }
    // The sheet closed (OK or Cancel) and the page was shown: copy the fields back.
    virtual void writeBack() {}

    bool wasShown() const { return m_shown; }
    bool isChanged() const { return m_changed; }

signals:
    void changed();

protected:
    void markChanged();
    void showEvent(QShowEvent* event) override;

    SetupContext& m_context;

private:
    bool m_shown = false;
    bool m_changed = false;
};
