#pragma once
// Starts the migration worker; the caller has made the migration the running
// activity.
void StartMigrationRun();
