// The settings record that the game reads from Config.dat, its defaults,
// and loading and saving it in a folder that the caller names.
#ifndef VESKAROT_CONFIG_H
#define VESKAROT_CONFIG_H

#include <cstddef>
#include <cstdint>

#define CONFIG_FILE_NAME L"Config.dat"
#define CONFIG_MAGIC     "VESKAROT20041206"

// Function of one gamepad button; 0 means none was chosen.
enum PadFunction : int32_t {
    PAD_NONE        = 0,
    PAD_JUMP        = 1,
    PAD_ATTACK      = 2,
    PAD_WEAPON_NEXT = 3,
    PAD_ITEM        = 4,
    PAD_MAP         = 5,
    PAD_WEAPON_PREV = 6,
};

// Index into the display-mode list; the list shows DISPLAY_MODE_TEXT in this order.
enum DisplayMode : int32_t {
    DISPLAY_FULL_SCREEN = 0,
    DISPLAY_960X720     = 1,
    DISPLAY_640X480     = 2,
    DISPLAY_FULL_24BIT  = 3,
    DISPLAY_FULL_32BIT  = 4,
    DISPLAY_MODE_COUNT  = 5,
};

// The trailing blanks are part of the texts.
constexpr const char *DISPLAY_MODE_TEXT[DISPLAY_MODE_COUNT] = {
    "Full Screen",
    "960x720 Windowed ",
    "640x480 Windowed ",
    "Full 24-Bit ",
    "Full 32-Bit ",
};

constexpr int PAD_BUTTON_COUNT = 8;

// Stored byte for byte: 32-bit little-endian integers, 8-bit ANSI text.
struct ConfigData {
    char    magic[32];      // CONFIG_MAGIC, then zeros
    char    fontName[64];   // zero-terminated, unless a foreign file filled it
    int32_t moveKeys;       // 0 arrow keys, 1 the alternative keys
    int32_t jumpKeys;       // 0 Z jumps, 1 X jumps
    int32_t okKey;          // 0 jump button confirms, 1 attack button
    int32_t displayMode;    // DisplayMode
    int32_t useGamepad;     // 1 on, 0 off
    int32_t padButton[PAD_BUTTON_COUNT];  // PadFunction of buttons 1 to 8
};

static_assert(sizeof(ConfigData) == 148, "Config.dat holds exactly 148 bytes");
static_assert(offsetof(ConfigData, magic) == 0, "layout of Config.dat");
static_assert(offsetof(ConfigData, fontName) == 32, "layout of Config.dat");
static_assert(offsetof(ConfigData, moveKeys) == 96, "layout of Config.dat");
static_assert(offsetof(ConfigData, jumpKeys) == 100, "layout of Config.dat");
static_assert(offsetof(ConfigData, okKey) == 104, "layout of Config.dat");
static_assert(offsetof(ConfigData, displayMode) == 108, "layout of Config.dat");
static_assert(offsetof(ConfigData, useGamepad) == 112, "layout of Config.dat");
static_assert(offsetof(ConfigData, padButton) == 116, "layout of Config.dat");

constexpr int32_t DEFAULT_PAD_BUTTON[PAD_BUTTON_COUNT] = {
    PAD_ATTACK, PAD_JUMP, PAD_MAP, PAD_WEAPON_PREV,
    PAD_WEAPON_NEXT, PAD_ITEM, PAD_WEAPON_PREV, PAD_WEAPON_NEXT,
};

ConfigData *DefaultConfigData(ConfigData *config);
// Config.dat in folder, a path without a trailing separator; an empty or null
// folder is an unknown one, where nothing loads or saves.
// Load returns 1 when a valid record was read; otherwise 0 with the record all
// zeros, and *error (where given) says why: 0 where there is no Config.dat or
// it holds no valid record, the system's error code where it is there but
// could not be read (another program holds it open, reading is denied) or
// where its path is too long to be opened or the folder unknown.
int LoadConfigData(const wchar_t *folder, ConfigData *config, uint32_t *error = nullptr);
// Save stamps the magic into the record and writes it; 1 on success, else 0
// with the system's error code in *error (where given).
int SaveConfigData(const wchar_t *folder, ConfigData *config, uint32_t *error = nullptr);

// Full path of a file in folder; 0 when the folder is unknown or the path
// would not fit in size characters.
int BuildConfigPath(wchar_t *path, size_t size, const wchar_t *folder, const wchar_t *fileName);

#endif
