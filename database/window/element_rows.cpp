#include "database/window/element_rows.h"

#include <QGridLayout>
#include <algorithm>

#include "project/project.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

void ElementRows::Build(FieldForm& f, DLG_CLASS* dlg, const QString& heading, int firstId,
                        std::vector<int32_t>* values, int32_t minimum, int32_t maximum)
{
    m_pDlg = dlg;
    m_nFirstId = firstId;
    m_pValues = values;
    m_nMin = minimum;
    m_nMax = maximum;
    m_Rows.clear();  // a new window: its rows are made anew
    m_nShown = 0;
    f.Note(heading);
    m_pBox = new QWidget(f.Parent());
    auto* grid = new QGridLayout(m_pBox);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(3, 1);
    f.Widget(QString(), m_pBox);
    for (int i = 0; i < kMaxRows; ++i)
        f.ids.insert(firstId + i);
}

void ElementRows::Sync()
{
    if (!m_pBox)
        return;
    const auto& elems = TheProject().m_System.m_Elems;
    int count = std::min(elems.size(), kMaxRows);
    auto* grid = static_cast<QGridLayout*>(m_pBox->layout());
    while (static_cast<int>(m_Rows.size()) < count) {
        int i = static_cast<int>(m_Rows.size());
        int id = m_nFirstId + i;
        Row row{new QLabel(m_pBox), new QLineEdit(m_pBox), new UpDownWidget(m_pBox)};
        row.edit->setMaximumWidth(110);
        grid->addWidget(row.label, i, 0);
        grid->addWidget(row.edit, i, 1);
        grid->addWidget(row.spin, i, 2);
        m_pDlg->AddItem(id, row.edit);
        m_pDlg->AddItem(id + FieldForm::kSpinOffset, row.spin);
        (new CTRL_EDITVEC_CLASS(m_pValues, static_cast<std::size_t>(i)))
            ->AttachEntry(m_pDlg, id, m_nMin, m_nMax, id + FieldForm::kSpinOffset);
        m_Rows.push_back(row);
    }
    for (int i = 0; i < static_cast<int>(m_Rows.size()); ++i) {
        const Row& row = m_Rows[static_cast<std::size_t>(i)];
        bool shown = i < count;
        if (shown)
            row.label->setText(ToQt(elems[i].m_Name));
        for (QWidget* w : {static_cast<QWidget*>(row.label), static_cast<QWidget*>(row.edit), row.spin})
            w->setVisible(shown);
    }
    m_nShown = count;
}

namespace {

// Not bound to a widget: only its place among the dialog's controls counts.
class CTRL_FIT_CLASS : public CTRL_CLASS {
public:
    CTRL_FIT_CLASS(DLG_CLASS* dlg, std::function<void()> fit) : m_Fit(std::move(fit))
    {
        m_pDlg = dlg;
        dlg->RegisterControl(this);
    }
    void Show() override
    {
        if (m_Fit)
            m_Fit();
    }

private:
    std::function<void()> m_Fit;
};

}  // namespace

void FitBeforeShow(FieldForm& f, DLG_CLASS* dlg, std::function<void()> fit)
{
    f.attach.push_back([dlg, fit = std::move(fit)] { new CTRL_FIT_CLASS(dlg, fit); });
}
