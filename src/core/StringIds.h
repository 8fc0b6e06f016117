/* String resource ids of the program's questions. Only preprocessor
   definitions here, so the resource compiler can read it too. */
#pragma once

/* The confirmation of an irreversible action: the hint, then the caption. */
#define IDS_ACTION_CONFIRMATION 65133
/* The question before the program closes: its name. */
#define IDS_CLOSE_QUESTION 65184
