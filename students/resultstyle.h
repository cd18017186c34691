#pragma once

#include <QString>

// The look the windows of results share: their headings and the panes that list results.
inline const QString Result_Heading_Style = QStringLiteral("font-size: 11pt; font-weight: bold; color: #1d3557;");
inline const QString Result_Pane_Style
    = QStringLiteral("QTreeWidget { background: rgba(255,255,255,225); border: 1px solid #8aa5b8; border-radius: 6px; "
                     "font-size: 10pt; }"
                     "QTreeWidget::item { padding: 2px 0; }"
                     "QTreeWidget::item:selected { background: #a8dadc; color: #1d3557; }"
                     "QTreeWidget::item:hover:!selected { background: #e8f4f5; }"
                     "QHeaderView::section { background: #457b9d; color: white; font-weight: bold; padding: 3px 4px; "
                     "border: none; border-right: 1px solid #a8dadc; }"
                     "QHeaderView { background: #457b9d; border-top-left-radius: 6px; border-top-right-radius: 6px; }");
inline const QString Result_List_Style = QStringLiteral("QTreeWidget { alternate-background-color: #f1f7f8; }");
