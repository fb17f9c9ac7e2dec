#include "FormFixture.h"
#include "app/BevelPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QLayout>
#include <functional>

namespace {

struct WindowSize {
    const char* name;
    std::function<QSize(const TMainForm&)> size;
};

class MainFormLayoutAt : public FormFixture, public ::testing::WithParamInterface<WindowSize> {};

// Captions stay clear of the controls in their panels, every control is
// whole, and a long name gives way to the rest of its line.
TEST_P(MainFormLayoutAt, NothingOverlaps) {
    const QString name(200, u'n');
    form->clstSource->addItem(name);
    form->addTargetResult(name + " Append Error! Records: 5", false, name.size());
    form->resize(GetParam().size(*form));
    form->layout()->activate();
    QApplication::processEvents();
    for (const CheckListBox* list : {form->clstSource, form->clstTarget}) {
        const QString shown = list->shownText(0);
        EXPECT_LT(list->fontMetrics().horizontalAdvance(shown), list->viewport()->width());
        EXPECT_TRUE(shown.startsWith("nnn")) << shown.toStdString();
        EXPECT_EQ(list->item(0)->toolTip(), list->item(0)->text());
    }
    EXPECT_TRUE(form->clstTarget->shownText(0).endsWith("nn Append Error! Records: 5"));
    EXPECT_TRUE(form->clstSource->shownText(0).contains(QChar(0x2026)));
    for (const BevelPanel* panel : {form->pnlSource, form->pnlTarget, form->pnlMessages}) {
        SCOPED_TRACE(panel->caption().toStdString());
        const QRect caption = panel->captionRect();
        EXPECT_TRUE(panel->rect().contains(caption));
        for (const QWidget* control : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_FALSE(caption.intersects(control->geometry()))
                << control->objectName().toStdString();
            EXPECT_TRUE(panel->rect().contains(control->geometry()))
                << control->objectName().toStdString();
        }
    }
    for (const QWidget* button : form->Panel1->findChildren<QWidget*>()) {
        EXPECT_TRUE(form->Panel1->rect().contains(button->geometry()))
            << button->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    , MainFormLayoutAt,
    ::testing::Values(
        WindowSize{"Minimum", [](const TMainForm& form) { return form.minimumSize(); }},
        WindowSize{"AtStart", [](const TMainForm&) { return QSize(703, 474); }},
        WindowSize{"MaximisedOn1024x768", [](const TMainForm&) { return QSize(1022, 742); }},
        WindowSize{"Wide", [](const TMainForm&) { return QSize(1900, 1000); }}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

} // namespace
