#pragma once
// Export formats and the export dialog.
