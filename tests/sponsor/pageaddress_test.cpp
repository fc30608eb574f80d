#include "sponsor/pageaddress.h"

#include <QUrl>

#include <gtest/gtest.h>

using quorvel::IsWebAddress;
using quorvel::LocalPageAddress;

TEST(PageAddress, FileAddressesSurviveAwkwardFolderNames)
{
    for (const std::string folder : {"/opt/Quorvel TV/", "/home/a#b/c?d/", "/srv/100%/x y#z/", "/tmp/中文/"}) {
        const QString address = LocalPageAddress(folder, "TVAPI.dat");
        const QUrl url(address, QUrl::StrictMode);
        ASSERT_TRUE(url.isValid()) << address.toStdString();
        EXPECT_TRUE(url.isLocalFile());
        EXPECT_TRUE(url.host().isEmpty()) << "the first folder must not become a host";
        EXPECT_EQ(url.toLocalFile().toStdString(), folder + "TVAPI.dat");
    }
    EXPECT_EQ(LocalPageAddress("/opt/tv/", "TVADS.dat"), "file:///opt/tv/TVADS.dat");
    // Without a folder: the page at the root, as "file:/" with the bare name would be.
    EXPECT_EQ(LocalPageAddress("", "TVADS.dat"), "file:///TVADS.dat");
}

TEST(PageAddress, OnlyWebAddressesGoToTheBrowser)
{
    EXPECT_TRUE(IsWebAddress("https://quorvel.tv/go/internet-tv"));
    EXPECT_TRUE(IsWebAddress("HTTP://Example.com/path?q=1"));
    EXPECT_TRUE(IsWebAddress("  https://example.com/  "));
    for (const char* bad : {"", "/usr/bin/xterm", "file:///etc/passwd", "xterm", "javascript:alert(1)",
                            "/usr/share/applications/evil.desktop", "ftp://example.com/x", "http://", "https:///x",
                            "smb://host/share", "mailto:a@b.c", "-e http://x"})
        EXPECT_FALSE(IsWebAddress(bad)) << bad;
}
