/* The ids of the common dialogs' controls, for answerers and tests that act on them. */
#ifndef WINPLAT_DLGS_H
#define WINPLAT_DLGS_H

/* The file dialogs. */
#define chx1 0x0410  /* "Jen pro čtení" */
#define stc1 0x0440  /* the current folder */
#define lst1 0x0460  /* the files of the folder that match the pattern */
#define lst2 0x0461  /* the folders: ".." and the subfolders */
#define cmb1 0x0470  /* the file types */
#define cmb2 0x0471  /* the drives */
#define edt1 0x0480  /* the name or pattern */

/* The colour dialog. */
#define COLOR_BASIC_FIRST 0x02D0   /* 48 basic colours, one button each, row by row */
#define COLOR_CUSTOM_FIRST 0x0300  /* 16 custom colours */
#define COLOR_ADD 0x02C8           /* "Přidat do vlastních barev" */
#define COLOR_MIX 0x02CF           /* "Definovat vlastní barvy >>" */
#define COLOR_HUE 0x02BF
#define COLOR_SAT 0x02C0
#define COLOR_LUM 0x02C1
#define COLOR_RED 0x02C2
#define COLOR_GREEN 0x02C3
#define COLOR_BLUE 0x02C4
#define COLOR_SAMPLE 0x02C5        /* the chosen colour shown */

/* The print and print setup dialogs. */
#define psh2 0x0401  /* "Vlastnosti..." (print); unused */
#define rad1 0x0420  /* "Vše" (print), "Na výšku" (setup) */
#define rad2 0x0421  /* "Výběr" (print), "Na šířku" (setup) */
#define rad3 0x0422  /* "Stránky" (print) */
#define edt2 0x0481  /* the last page (print); edt1 is the first */
#define cmb3 0x0472  /* the paper sizes (setup) */
#define cmb4 0x0473  /* the printers */
#define edt3 0x0482  /* the number of copies (print) */
/* chx1 is "Tisk do souboru" in the print dialog. */

#endif
