// The loader's Viewer: pages reach the viewer as they are built, without copies.
#include "core/Wydruki.h"
#include "tests/support/LayoutHelpers.h"
#include "view/EmfViewer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace wydtest;

TEST(LoaderViewer, PagesReachTheViewerUncopiedBeforeOnNextPage)
{
    Document doc = DeviceDocument();
    for (int i = 1; i <= 170; ++i) { // 83 lines a page: three pages
        Record item;
        item.Title = BlockOf({TextLine("wiersz " + QByteArray::number(i))});
        doc.Root.Items.push_back(item);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("Raport.wyd");
    WriteWyd(path, doc);

    TEmfViewer viewer;
    viewer.resize(400, 300);
    int changes = 0;
    viewer.OnChange = [&] { ++changes; };
    std::vector<platform::PageMetafile *> delivered;
    {
        TWydruk loader;
        EXPECT_EQ(loader.Viewer(), nullptr);
        loader.SetViewer(&viewer);
        loader.OnNextPage = [&](TWydruk *, platform::PageMetafile *page) {
            // The viewer already holds this very page when the event sees it.
            ASSERT_FALSE(viewer.Pages().isEmpty());
            EXPECT_EQ(viewer.Pages().last(), page);
            delivered.push_back(page);
        };
        loader.LoadFromFile(path);
        loader.BuildPages();
        ASSERT_EQ(delivered.size(), 3u);
        EXPECT_EQ(viewer.PageCount(), 3);
        EXPECT_EQ(changes, 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(viewer.Pages()[i], delivered[size_t(i)]);
        // The pages belong to the loader: the viewer must let go of them before it dies.
        viewer.ClearPages();
    }
    EXPECT_EQ(viewer.PageCount(), 0);
}
