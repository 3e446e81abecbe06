// Identifiers of the program's resources: icon, dialogs and their controls, strings,
// bitmaps. Shared by the resource script and the code (plain #defines so that the
// resource compiler reads them too).
#pragma once

// Icon
#define IDI_CIRRANE                101

// Dialogs
#define IDD_OPTIONS                111
#define IDD_DISPLAY_SINGLE         200
#define IDD_DISPLAY_MULTI          201

// Options dialog controls
#define IDC_DISPLAY_SETTINGS       1006
#define IDC_CAMERA_VIEW            1007
#define IDC_CUBE_ANIMATION         1014
#define IDC_LINK_HOME              1015
#define IDC_SKY_SPEED              1022
#define IDC_LINK_DOWNLOAD          1023
#define IDC_LINK_SAVERS            1024

// Display settings dialog controls
#define IDC_MONITOR_TAB            2000
#define IDC_MONITOR_FORMAT         2001
#define IDC_ADAPTER_NAME           2002
#define IDC_RENDERING              2003
#define IDC_HELP_BUTTON            2004
#define IDC_DISABLE_HARDWARE       2005
#define IDC_USAGE_GROUP            2006
#define IDC_SHOW_SCENE             2007
#define IDC_SHOW_NOTHING           2008
#define IDC_MODE_GROUP             2009
#define IDC_MODE_LABEL             2010
#define IDC_MODE_LIST              2011
#define IDC_AUTOMATIC_TEXT         2012
#define IDC_MODE_NOTE              2013
#define IDC_GENERAL_GROUP          2014
#define IDC_SCREENS_SAME           2015
#define IDC_MODE_FORMAT            2016

// Strings
#define IDS_SHORT_TITLE            1      // the desktop's list of screensavers shows string 1
#define IDS_TITLE                  1000
#define IDS_ERR_GENERIC            2100
#define IDS_ERR_NO_DIRECT3D        2101
#define IDS_ERR_INIT_FAILED        2102
#define IDS_ERR_CREATE_DEVICE      2103
#define IDS_ERR_NO_COMPATIBLE      2104
#define IDS_ERR_NO_HARDWARE        2105
#define IDS_ERR_LACKS_FEATURES     2106
#define IDS_ERR_LACKS_FEATURES_DESKTOP 2107
#define IDS_ERR_MEDIA_NOT_FOUND    2108
#define IDS_ERR_RESET_FAILED       2109
#define IDS_ERR_OUT_OF_MEMORY      2110
#define IDS_ERR_OUT_OF_VIDEO_MEMORY 2111
#define IDS_ERR_NO_PREVIEW         2112
#define IDS_RENDER_FIRST           2200   // 2200..2212: rendering sentences and help texts
#define IDS_RENDER_HARDWARE        2210
#define IDS_RENDER_SOFTWARE        2211
#define IDS_RENDER_NONE            2212

// Bitmaps: three 7-level chains (256 down to 4 pixels) and the glow
#define IDB_STONE_256              114
#define IDB_STONE_64               115
#define IDB_STONE_32               117
#define IDB_STONE_16               118
#define IDB_STONE_8                119
#define IDB_STONE_4                120
#define IDB_SKY_256                121
#define IDB_SKY_128                122
#define IDB_SKY_64                 123
#define IDB_SKY_32                 124
#define IDB_SKY_16                 125
#define IDB_SKY_8                  126
#define IDB_SKY_4                  127
#define IDB_CLOUDS_256             128
#define IDB_CLOUDS_128             129
#define IDB_CLOUDS_64              130
#define IDB_CLOUDS_32              131
#define IDB_CLOUDS_16              132
#define IDB_CLOUDS_8               133
#define IDB_CLOUDS_4               134
#define IDB_STONE_128              135
#define IDB_GLOW                   136
