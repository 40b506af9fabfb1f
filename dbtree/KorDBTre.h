#pragma once
// The database-bound diagram.
