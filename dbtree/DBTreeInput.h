#pragma once
// Database tables as an input of the command line:
//
//   dendrix --export OUT.png IN.sqlite --table places --code-field code
//           --parent-field parent --text-fields name
//   dendrix --export OUT.abx --db postgresql://me@localhost/shop
//           --table departments --text-fields name --detail-table staff
//           --master-field id --detail-field dept --detail-fields name;role

// Registers the database input with the command line (before the command
// line is read). Calling it again does nothing.
void RegisterDatabaseInput();
