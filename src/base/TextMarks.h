#pragma once
// Marks a text of the core that the editor shows in the user's language. The core itself
// keeps the designed Japanese text as written; the editor looks it up under `context` (the
// translation tools read TESK_TEXT as Qt's QT_TRANSLATE_NOOP). Never for texts that go into
// files or to the viewer.

#define TESK_TEXT(context, text) text
