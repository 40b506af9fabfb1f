#pragma once
// Message texts of database trees, their wizard and their dialogs.

#include "core/Messages.h"

extern TMessageText SDBFieldNotFound;        // "Field %s not found in table %s"
extern TMessageText SDBNoTextFields;         // "At least one Detail field should be selected."
extern TMessageText SDBNoParentField;        // "The Parent field should be selected."
extern TMessageText SDBNotANumber;           // field, table, value
extern TMessageText SDBCannotConnect;        // database, reason
extern TMessageText SDBQueryFailed;          // table, reason
extern TMessageText SDBNoSource;             // dataset
extern TMessageText SDBCodeParentTextNeeded; // "Code, Parent and Text fields should be selected"
extern TMessageText SDBTextFieldsNeeded;     // "Text fields should be selected"
extern TMessageText SDBMasterFieldsNeeded;   // "Master fields should be selected"
extern TMessageText SDBDataSetNeeded;        // "A DataSet should be selected"
extern TMessageText SDBDetailFieldsNeeded;   // "Detail fields should be selected"
// The wizards' button that goes on, before and on the last page.
extern TMessageText SDBNext;                 // "&Next >"
extern TMessageText SDBFinish;               // "&Finish"
extern TMessageText SDBWizardCaption;        // "Database Tree Wizard"
extern TMessageText SDBNewDataSetCaption;    // "Create new DataSet"
extern TMessageText SDBSelectFolder;         // "Select Folder"
extern TMessageText SDBDeleteDataSet;        // "Are you sure to delete DataSet?"
extern TMessageText SDBBuilding;             // "Building the tree... %s of %s records"
extern TMessageText SDBCancelled;            // "Building the tree was cancelled"
extern TMessageText SDBSQLiteFilter;         // file filter
extern TMessageText SDBEngineSQLite;         // the embedded engine's name
extern TMessageText SDBEnginePostgreSQL;     // the server engine's name
extern TMessageText SDBStepRefresh;          // undo/step description
// The command line's database input.
extern TMessageText SDBInputDescription;
extern TMessageText SDBNeedsTable;
extern TMessageText SDBOptionDB;
extern TMessageText SDBOptionTable;
extern TMessageText SDBOptionSQL;
extern TMessageText SDBOptionCodeField;
extern TMessageText SDBOptionParentField;
extern TMessageText SDBOptionGroupFields;
extern TMessageText SDBOptionTextFields;
extern TMessageText SDBOptionMultiLine;
extern TMessageText SDBOptionGrid;
extern TMessageText SDBOptionDetailTable;
extern TMessageText SDBOptionDetailFields;
extern TMessageText SDBOptionMasterField;
extern TMessageText SDBOptionDetailField;
