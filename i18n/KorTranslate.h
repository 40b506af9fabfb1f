#pragma once
// Translation of forms and messages.
