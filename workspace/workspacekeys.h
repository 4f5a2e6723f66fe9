#pragma once

#include <functional>

class QWidget;

// The workspace page for the keyboard and a screen reader: labels as their fields' buddies,
// names for tables and fields, tables that take focus once and leave on Tab, a tab order that
// follows the work (measure, settings, list buttons, list, analysis), and the measure keys.
namespace workspacekeys {

// The keys, shown in the controls' tooltips:
//   F7 measure the standard, F8 measure a sample (a foot pedal or a keyboard wedge can send it),
//   Delete the selected row (in the list), Ctrl+E export, Ctrl+H History, F9 analysis.
void install(QWidget* page, std::function<void(int row)> deleteRow);
// Names and tooltips in the interface's language.
void relabel(QWidget* page);

} // namespace workspacekeys
