#include "database/window/db_common.h"

#include "database/usage.h"
#include "project/project.h"
#include "ui/qt_text.h"
#include "ui/widgets.h"

QPushButton* DbButton(DLG_CLASS* dlg, QWidget* parent, int id, const char* utf8)
{
    auto* b = new QPushButton(QString::fromUtf8(utf8), parent);
    b->setAutoDefault(false);
    dlg->AddItem(id, b);
    return b;
}

QCheckBox* DbCheck(DLG_CLASS* dlg, QWidget* parent, int id, const char* utf8)
{
    auto* c = new QCheckBox(QString::fromUtf8(utf8), parent);
    dlg->AddItem(id, c);
    return c;
}

QComboBox* DbCombo(DLG_CLASS* dlg, QWidget* parent, int id)
{
    auto* c = new QComboBox(parent);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    c->setMaxVisibleItems(20);
    dlg->AddItem(id, c);
    return c;
}

QLineEdit* DbText(DLG_CLASS* dlg, QWidget* parent, int id, int width)
{
    auto* e = new QLineEdit(parent);
    e->setMinimumWidth(width);
    dlg->AddItem(id, e);
    return e;
}

QWidget* WidgetRow(QWidget* parent, const std::vector<QWidget*>& widgets)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets) {
        w->setParent(box);
        row->addWidget(w);
    }
    row->addStretch(1);
    return box;
}

QListWidget* DbList(DLG_CLASS* dlg, QWidget* parent, int id, int width, int height)
{
    auto* l = new QListWidget(parent);
    l->setMinimumSize(width, height);
    // Every line is one line of text: the list lays out thousands of them
    // without measuring each.
    l->setUniformItemSizes(true);
    dlg->AddItem(id, l);
    return l;
}

QWidget* DbNumber(DLG_CLASS* dlg, QWidget* parent, int id, int width)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* edit = new QLineEdit(box);
    edit->setFixedWidth(width);
    auto* spin = new UpDownWidget(box);
    row->addWidget(edit);
    row->addWidget(spin);
    row->addStretch();
    dlg->AddItem(id, edit);
    dlg->AddItem(id + 1, spin);
    return box;
}

QLabel* DbLabel(QWidget* parent, const char* utf8) { return new QLabel(QString::fromUtf8(utf8), parent); }

QHBoxLayout* DbOkCancel(DLG_CLASS* dlg, QWidget* parent) { return OkCancelRow(dlg, parent); }

std::vector<std::string> NumberedTexts(const std::vector<std::string>& names)
{
    std::vector<std::string> out;
    int count = static_cast<int>(names.size());
    for (int i = 0; i < count; ++i)
        out.push_back(NumberedLine(i + 1, count, names[static_cast<std::size_t>(i)]));
    return out;
}

std::vector<std::string> LabelTexts(const LabelTable& labels)
{
    std::vector<std::string> out;
    for (int i = 0; i < labels.Count(); ++i)
        out.push_back(labels[i]);
    return out;
}

int RunDbDialog(DLG_CLASS& dlg, WND_CLASS* owner)
{
    dlg.SetupWindow(0, owner ? owner->Widget() : nullptr, owner);
    dlg.SetOwner(owner, true);
    return dlg.DoModal();
}

DatabaseView ProjectDatabaseView()
{
    Project& p = TheProject();
    DatabaseView v;
    v.classes = &p.m_Classes;
    v.friends = &p.m_Friends;
    v.enemies = &p.m_Enemies;
    v.skills = &p.m_SkillLists;
    v.lands = &p.m_Lands;
    return v;
}

QListWidget* MakeUsageList(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setUniformItemSizes(true);
    list->setMinimumHeight(60);
    list->setMaximumHeight(110);
    return list;
}

void ShowUsage(QListWidget* list, const std::vector<Usage>& usages)
{
    if (!list)
        return;
    DatabaseView view = ProjectDatabaseView();
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(usages.size()));
    for (const Usage& u : usages)
        lines.push_back(ToQt(UsageLine(view, u)));
    list->clear();
    list->addItems(lines);
}
