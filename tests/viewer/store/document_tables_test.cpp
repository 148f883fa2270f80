#include "store/document_tables.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

TEST(DocumentTables, EachTableKeepsItsFoldersInItsOwnPool) {
    char picture[] = "\\obrazky\\mapa.gif";
    char document[] = "\\texty\\kapitola.lcn";
    const uint16_t p = lect32::pictureCache().AddPath(picture);
    const uint16_t d = lect32::documentFileNames().AddPath(document);
    ASSERT_LT(p, 0xFFFD);
    ASSERT_LT(d, 0xFFFD);
    char folder[] = "\\obrazky\\";
    EXPECT_NE(lect32::pictureFolderPool().Find(folder), 0xFFFF);
    EXPECT_EQ(lect32::documentFolderPool().Find(folder), 0xFFFF) << "the pools are apart";
    char path[300];
    lect32::documentFileNames().GetPath(d, path);
    EXPECT_STREQ(path, "\\texty\\kapitola.lcn");
    EXPECT_EQ(&lect32::documentFileNames(), &lect32::documentFileNames()) << "one table for the process";
    lect32::pictureCache().ReleasePath(p, 1);
    lect32::documentFileNames().ReleasePath(d, 1);
}

}  // namespace
