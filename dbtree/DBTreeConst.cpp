#include "dbtree/DBTreeConst.h"

TMessageText SDBFieldNotFound("SDBFieldNotFound", "Field %s not found in table %s");
TMessageText SDBNoTextFields("SDBNoTextFields", "At least one Detail field should be selected.");
TMessageText SDBNoParentField("SDBNoParentField", "The Parent field should be selected.");
TMessageText SDBNotANumber("SDBNotANumber", "Field %s of table %s holds \"%s\", which is not a whole number");
TMessageText SDBCannotConnect("SDBCannotConnect", "Cannot open the database %s: %s");
TMessageText SDBQueryFailed("SDBQueryFailed", "Cannot read the records of %s: %s");
TMessageText SDBNoSource("SDBNoSource", "The dataset %s names neither a table nor a query");
TMessageText SDBCodeParentTextNeeded("SDBCodeParentTextNeeded", "Code, Parent and Text fields should be selected");
TMessageText SDBTextFieldsNeeded("SDBTextFieldsNeeded", "Text fields should be selected");
TMessageText SDBMasterFieldsNeeded("SDBMasterFieldsNeeded", "Master fields should be selected");
TMessageText SDBDetailFieldsNeeded("SDBDetailFieldsNeeded", "Detail fields should be selected");
TMessageText SDBWizardCaption("SDBWizardCaption", "Database Tree Wizard");
TMessageText SDBNewDataSetCaption("SDBNewDataSetCaption", "Create new DataSet");
TMessageText SDBSelectFolder("SDBSelectFolder", "Select Folder");
TMessageText SDBDeleteDataSet("SDBDeleteDataSet", "Are you sure to delete DataSet?");
TMessageText SDBBuilding("SDBBuilding", "Building the tree... %s of %s records");
TMessageText SDBCancelled("SDBCancelled", "Building the tree was cancelled");
TMessageText SDBSQLiteFilter("SDBSQLiteFilter", "SQLite databases (*.sqlite *.sqlite3 *.db)|*.sqlite;*.sqlite3;*.db|All files (*)|*");
TMessageText SDBEngineSQLite("SDBEngineSQLite", "&SQLite database file");
TMessageText SDBEnginePostgreSQL("SDBEnginePostgreSQL", "&PostgreSQL server");
TMessageText SDBStepRefresh("SDBStepRefresh", "Database tree");
