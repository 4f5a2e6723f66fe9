#pragma once

#include <QProgressDialog>

#include <memory>

// The window-modal progress dialog of a long transfer, with the page's texts ("Storing
// data,please wait...", cancel text "cancel"). Shown, not run: the caller goes on working
// while it is up, and its cancel button stops only what the caller lets it.
std::unique_ptr<QProgressDialog>
showTransferProgress(QWidget* parent, int maximum, const QString& label, const QString& cancelText);
