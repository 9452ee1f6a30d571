#include "TPngImageList.h"

#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {
QImage Picture(const QIcon& icon, int size) {
    return icon.pixmap(size, size).toImage();
}

bool HasVisiblePixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

void ExpectActionImages(const std::function<QIcon(int)>& images, int count) {
    for (int index = 0; index < count; ++index) {
        const QIcon icon = images(index);
        ASSERT_FALSE(icon.isNull()) << index;
        const QList<QSize> sizes = icon.availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16))) << index;
        EXPECT_TRUE(sizes.contains(QSize(24, 24))) << index;
        for (int size : {16, 24}) {
            const QImage image = Picture(icon, size);
            EXPECT_EQ(image.size(), QSize(size, size)) << index;
            EXPECT_TRUE(HasVisiblePixels(image)) << index << " at " << size;
        }
    }
    EXPECT_TRUE(images(-1).isNull());
    EXPECT_TRUE(images(count).isNull());
}
} // namespace

TEST(PngImageList, EveryActionImageHoldsA16AndA24PixelPicture) {
    ExpectActionImages(TPngImageList::Editor, 31);
    ExpectActionImages(TPngImageList::Child, 26);
}

TEST(PngImageList, EditorImagesAreAllDifferent) {
    for (int a = 0; a < 31; ++a)
        for (int b = a + 1; b < 31; ++b)
            EXPECT_NE(Picture(TPngImageList::Editor(a), 24), Picture(TPngImageList::Editor(b), 24))
                << a << " and " << b;
}

TEST(PngImageList, ChildImagesShowTheSameActionsAsTheEditorImages) {
    const std::pair<ChildImage, EditorImage> same[] = {{ciSave, eiSave},
                                                       {ciSaveAs, eiSaveAs},
                                                       {ciCut, eiCut},
                                                       {ciCopy, eiCopy},
                                                       {ciPaste, eiPaste},
                                                       {ciUndo, eiUndo},
                                                       {ciRedo, eiRedo},
                                                       {ciZoomIn, eiZoomIn},
                                                       {ciZoomOut, eiZoomOut},
                                                       {ciZoomFull, eiZoomFull},
                                                       {ciPlay, eiPlay},
                                                       {ciStop, eiStop},
                                                       {ciDelete, eiDelete},
                                                       {ciFadeIn, eiFadeIn},
                                                       {ciFadeOut, eiFadeOut},
                                                       {ciSilence, eiSilence},
                                                       {ciNormalize, eiNormalize},
                                                       {ciReverse, eiReverse},
                                                       {ciInvert, eiInvert},
                                                       {ciAmplifyI, eiAmplifyI},
                                                       {ciAmplifyD, eiAmplifyD},
                                                       {ciProperties, eiProperties},
                                                       {ciSaveSelected, eiSaveSelected},
                                                       {ciSettings, eiSettings}};
    for (auto [child, editor] : same)
        EXPECT_EQ(Picture(TPngImageList::Child(child), 24),
                  Picture(TPngImageList::Editor(editor), 24))
            << child;
    for (ChildImage own : {ciSelectAll, ciDeselect})
        for (int editor = 0; editor < 31; ++editor)
            EXPECT_NE(Picture(TPngImageList::Child(own), 24),
                      Picture(TPngImageList::Editor(editor), 24))
                << own << " and " << editor;
}

TEST(PngImageList, ProgramPicturesHaveTheirSizes) {
    const QList<QSize> sizes = TPngImageList::ApplicationIcon().availableSizes();
    for (int size : {48, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    EXPECT_TRUE(HasVisiblePixels(Picture(TPngImageList::DocumentIcon(), 16)));
    EXPECT_EQ(TPngImageList::Background().size(), QSize(450, 450));
}
