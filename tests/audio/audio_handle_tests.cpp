// Handles, results and log lines of the audio built-ins, called through the built-in table.
#include "Sound/Audio_Main.h"
#include "audio_test_support.h"
#include <filesystem>

namespace {
using AudioHandles = AudioTest;

double Call(const char* name, std::vector<RValue> args) {
    return CallBuiltin(name, std::move(args)).AsReal();
}

TEST_F(AudioHandles, StreamsTakeTheFirstEmptySlotAndVoicesAreNeverReused) {
    EXPECT_EQ(Call("audio_create_stream", {"lib\\tone.ogg"}), 300000);
    EXPECT_EQ(Call("audio_create_stream", {"lib/short.ogg"}), 300001);
    EXPECT_EQ(Call("audio_play_sound", {300000, 1, 1}), 400000);
    EXPECT_EQ(Call("audio_play_sound", {300001, 1, 0}), 400001);
    EXPECT_EQ(Call("audio_destroy_stream", {300000}), 1);
    EXPECT_EQ(Call("audio_create_stream", {"lib\\tone.ogg"}), 300000);
    EXPECT_EQ(Call("audio_play_sound", {300000, 1, 1}), 400002);
    EXPECT_EQ(LogText(),
              "create stream 300000\ncreate stream 300001\ndestroy stream 300000\ncreate stream 300000\n");
}

TEST_F(AudioHandles, ResultsAreTypedAsTheTableDescribes) {
    RValue stream = CallBuiltin("audio_create_stream", {"lib\\tone.ogg"});
    EXPECT_TRUE(stream.is(Kind::Real));
    RValue voice = CallBuiltin("audio_play_sound", {stream, 1, 1});
    RValue playing = CallBuiltin("audio_is_playing", {voice});
    EXPECT_TRUE(playing.is(Kind::Bool));
    EXPECT_TRUE(playing.AsBool());
    EXPECT_FALSE(CallBuiltin("audio_is_paused", {voice}).AsBool());
}

TEST_F(AudioHandles, MissingFilesAndHandlesThatNameNothing) {
    EXPECT_EQ(Call("audio_create_stream", {"lib\\missing.ogg"}), -1);
    EXPECT_EQ(Call("audio_create_stream", {"lib"}), -1) << "a folder is not a file";
    EXPECT_EQ(Call("audio_destroy_stream", {5}), -1);
    EXPECT_EQ(Call("audio_destroy_stream", {400000}), -1);
    EXPECT_EQ(Call("audio_destroy_stream", {300050}), -1);
    EXPECT_EQ(Call("audio_play_sound", {7, 1, 1}), 0);
    EXPECT_EQ(Call("audio_play_sound", {300050, 1, 1}), 0);
    EXPECT_FALSE(Audio_IsPlaying(-1));
    EXPECT_FALSE(Audio_IsPaused(300050));
    Audio_StopSound(123);
    Audio_PauseSound(400077);
    Audio_ResumeSound(300003);
    EXPECT_EQ(LogText(), "audio_create_stream : could not file file 'lib\\missing.ogg'\n"
                         "audio_create_stream : could not file file 'lib'\n"
                         "audio_destroy_stream : Invalid stream id: 5\n"
                         "audio_destroy_stream : Invalid stream id: 400000\n"
                         "Error: no sound exists for soundid 7\n"
                         "Error: no sound exists for soundid 300050\n");
}

TEST_F(AudioHandles, DestroyedStreamIsFoundByNoFunction) {
    int stream = Audio_CreateStream("lib\\tone.ogg");
    int voice = Audio_PlaySound(stream, 1, true);
    ASSERT_TRUE(Audio_IsPlaying(stream));
    EXPECT_EQ(Audio_DestroyStream(stream), 1);
    EXPECT_FALSE(Audio_IsPlaying(stream));
    EXPECT_FALSE(Audio_IsPlaying(voice));
    EXPECT_EQ(Audio_PlaySound(stream, 1, true), 0);
    EXPECT_EQ(Audio_DestroyStream(stream), -1);
}

TEST_F(AudioHandles, StreamHandleActsOnEveryVoiceAndVoiceHandleOnOne) {
    int stream = Audio_CreateStream("lib\\tone.ogg");
    int first = Audio_PlaySound(stream, 1, true);
    int second = Audio_PlaySound(stream, 1, true);
    Audio_PauseSound(stream);
    EXPECT_TRUE(Audio_IsPaused(first));
    EXPECT_TRUE(Audio_IsPaused(second));
    Audio_ResumeSound(first);
    EXPECT_FALSE(Audio_IsPaused(first));
    EXPECT_TRUE(Audio_IsPaused(stream)) << "the second voice is still paused";
    Audio_StopSound(second);
    EXPECT_FALSE(Audio_IsPlaying(second));
    EXPECT_FALSE(Audio_IsPaused(stream));
    EXPECT_TRUE(Audio_IsPlaying(first));
    Audio_StopSound(stream);
    EXPECT_FALSE(Audio_IsPlaying(stream));
}

TEST_F(AudioHandles, UndecodableFilesAreAcceptedAndFailWhenPlayed) {
    int notOgg = Audio_CreateStream("lib\\notogg.ogg");
    EXPECT_GE(notOgg, 300000);
    int voice = Audio_PlaySound(notOgg, 1, true);
    EXPECT_EQ(voice, 400000);
    EXPECT_FALSE(Audio_IsPlaying(voice));

    std::string vanishing = libFolder + "/vanishing.ogg";
    std::filesystem::copy_file(libFolder + "/tone.ogg", vanishing);
    int stream = Audio_CreateStream("lib\\vanishing.ogg");
    std::filesystem::remove(vanishing);
    EXPECT_EQ(Audio_PlaySound(stream, 1, true), 400001);
    EXPECT_FALSE(Audio_IsPlaying(stream));

    std::string log = LogText();
    EXPECT_NE(log.find("ov_open error -132\n"), std::string::npos) << log; // not a Vorbis stream
    EXPECT_NE(log.find("Could not open Ogg file " + vanishing + "\n"), std::string::npos) << log;
}

TEST_F(AudioHandles, FullPoolStealsOnlyTheLowestLowerPriorityVoice) {
    int stream = Audio_CreateStream("lib\\short.ogg");
    for (int i = 0; i < 128; ++i) {
        ASSERT_EQ(Audio_PlaySound(stream, i == 10 ? 0.5 : 1, true), 400000 + i);
    }
    EXPECT_EQ(Audio_PlaySound(stream, 0.5, true), -1) << "no voice is below 0.5";
    EXPECT_EQ(Audio_PlaySound(stream, 2, true), 400128);
    EXPECT_FALSE(Audio_IsPlaying(400010)) << "the 0.5 voice was stopped for it";
    EXPECT_EQ(Audio_PlaySound(stream, 1, true), -1) << "equal priority does not steal";
    EXPECT_TRUE(Audio_IsPlaying(400000));

    Audio_StopSound(400050);
    EXPECT_EQ(Audio_PlaySound(stream, 0, true), 400129) << "a free voice is taken before stealing";
    for (int id : {400000, 400049, 400051, 400127, 400128, 400129}) {
        EXPECT_TRUE(Audio_IsPlaying(id)) << id;
    }
}
} // namespace
