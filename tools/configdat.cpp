// Writes a Config.dat of the default settings as the dialog's OK writes them
// (with the default font entry), for the pictures of scripts/screenshots.
//   configdat FILE [alt]     (alt: the alternative movement keys)
#include <cstdio>
#include <cstring>

#include "../config/config.h"

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: configdat FILE [alt]\n");
        return 2;
    }
    ConfigData config = {};
    memcpy(config.magic, CONFIG_MAGIC, strlen(CONFIG_MAGIC));
    strcpy(config.fontName, "Courier New");
    config.moveKeys = argc > 2 && strcmp(argv[2], "alt") == 0;
    config.useGamepad = 1;
    memcpy(config.padButton, DEFAULT_PAD_BUTTON, sizeof config.padButton);
    FILE *file = fopen(argv[1], "wb");
    if (!file || fwrite(&config, sizeof config, 1, file) != 1 || fclose(file) != 0) {
        perror(argv[1]);
        return 1;
    }
    return 0;
}
