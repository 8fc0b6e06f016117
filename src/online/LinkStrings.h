/* String resource ids of the link hints. Only preprocessor definitions here,
   so the resource compiler can read it too. */
#pragma once

#define IDS_LINK_WEB 65200
#define IDS_LINK_EMAIL 65201
#define IDS_LINK_RSS 65202
#define IDS_LINK_FACEBOOK 65203
#define IDS_LINK_GPLUS 65204
#define IDS_LINK_TWITTER 65205
#define IDS_LINK_DELICIOUS 65206
#define IDS_LINK_STUMBLEUPON 65207
