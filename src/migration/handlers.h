#pragma once
// The handlers of the main window's events and the migration worker.

void OnWindowCreated();            // MainWindow created
void OnAccountSelected();          // 组合框1: an entry was chosen
void OnRefreshClicked();           // 按钮3 clicked
void OnDestinationDoubleClicked(); // 标签3 double-clicked
void OnCutOptionClicked();         // 选择框1 clicked, after it toggled itself
void OnMigrateClicked();           // 按钮1 clicked
void RunMigration();               // the worker's routine
