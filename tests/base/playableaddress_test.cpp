#include "base/playableaddress.h"

#include <gtest/gtest.h>

using quorvel::IsPlayableAddress;

TEST(PlayableAddress, StreamsAndLocalFilesPlayAddressesIntoTheProgramDoNot)
{
    for (const char* ok :
         {"http://127.0.0.1/live.m3u8", "HTTPS://tv.example/x", "rtmp://host/app/stream", "rtsp://cam.local:554/1",
          "mms://old.example/tv", "udp://239.0.0.1:1234", "srt://h:9000", "file:///home/me/clip.mp4",
          "/home/me/My Videos/clip.mp4", "  http://padded/x  ", "relative/clip.ts"})
        EXPECT_TRUE(IsPlayableAddress(ok)) << ok;
    for (const char* bad : {"", "   ", "-", "fd://0", "fdclose://3", "av://lavfi:testsrc", "lavf://x", "lavfi://x",
                            "memory://hello", "edl://a.mp4,0,1", "mf://*.jpg", "smb://share/x", "ytdl://x",
                            "appending://x", "slice://0-10@file.ts", "dvb://1", "cdda://", "javascript://x", "null://"})
        EXPECT_FALSE(IsPlayableAddress(bad)) << bad;
}
