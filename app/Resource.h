#pragma once

// Command, control and resource identifiers shared by the code and the resource data.

// Resources
inline constexpr unsigned IDR_MAINFRAME = 128; // menu, accelerators, toolbar, icon, document string
inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDD_SNAPINFO = 135;
inline constexpr unsigned IDC_TARGET = 136; // the capture-mode cursor
inline constexpr unsigned IDD_RESIZE = 140;

// Strings
inline constexpr unsigned AFX_IDS_APP_TITLE = 57344;
inline constexpr unsigned AFX_IDS_IDLEMESSAGE = 57345;
inline constexpr unsigned AFX_IDS_UNTITLED = 61443;

// Status-bar panes
inline constexpr unsigned ID_SEPARATOR = 0;
inline constexpr unsigned ID_INDICATOR_IMAGESIZE = 60000;
inline constexpr unsigned ID_INDICATOR_CAPS = 59137;
inline constexpr unsigned ID_INDICATOR_NUM = 59138;
inline constexpr unsigned ID_INDICATOR_SCRL = 59139;

// Commands
inline constexpr unsigned ID_FILE_NEW = 57600;
inline constexpr unsigned ID_FILE_OPEN = 57601;
inline constexpr unsigned ID_FILE_SAVE = 57603;
inline constexpr unsigned ID_FILE_SAVE_AS = 57604;
inline constexpr unsigned ID_FILE_PRINT_SETUP = 57606;
inline constexpr unsigned ID_FILE_PRINT = 57607;
inline constexpr unsigned ID_FILE_PRINT_DIRECT = 57608;
inline constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr unsigned ID_FILE_MRU_FILE1 = 57616;
inline constexpr unsigned ID_EDIT_COPY = 57634;
inline constexpr unsigned ID_EDIT_CUT = 57635;
inline constexpr unsigned ID_EDIT_PASTE = 57637;
inline constexpr unsigned ID_EDIT_UNDO = 57643;
inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_APP_EXIT = 57665;
inline constexpr unsigned ID_NEXT_PANE = 57680;
inline constexpr unsigned ID_PREV_PANE = 57681;
inline constexpr unsigned ID_VIEW_TOOLBAR = 59392;
inline constexpr unsigned ID_VIEW_STATUS_BAR = 59393;
inline constexpr unsigned ID_CAPTURE_REGION = 32775;
inline constexpr unsigned ID_CAPTURE_DESKTOP = 32776;
inline constexpr unsigned ID_CAPTURE_WINDOW = 32777;
inline constexpr unsigned ID_IMAGE_RESIZE = 32780;
inline constexpr unsigned ID_IMAGE_ROTATE_LEFT = 32781;
inline constexpr unsigned ID_IMAGE_ROTATE_RIGHT = 32782;
inline constexpr unsigned ID_IMAGE_FLIP_VERTICAL = 32783;
inline constexpr unsigned ID_IMAGE_FLIP_HORIZONTAL = 32784;
