#pragma once

// Both windows keep a tab index per control, as designed; Qt's default tab order is the order
// of creation instead. This chains the focus by the indices.

#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

// Sets the tab order of the widgets by ascending tab index, leaving out those that take no
// focus by Tab (labels).
inline void setTabOrderByIndex(std::vector<std::pair<int, QWidget *>> widgets)
{
    widgets.erase(std::remove_if(widgets.begin(), widgets.end(),
                      [](const auto &w) { return !(w.second->focusPolicy() & Qt::TabFocus); }),
        widgets.end());
    std::sort(widgets.begin(), widgets.end(),
        [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t k = 1; k < widgets.size(); ++k)
        QWidget::setTabOrder(widgets[k - 1].second, widgets[k].second);
}
