#include "runtime/rules/open_file_text.h"

#include <gtest/gtest.h>

#include "app/texts.h"

using namespace std::string_literals;

TEST(DialogFilter, EndsEachPartWithANulAndAllWithAnother) {
  EXPECT_EQ(DialogFilter(L"Videos|*.avi;*.mp4|All files|*.*"), L"Videos\0*.avi;*.mp4\0All files\0*.*\0\0"s);
}

TEST(DialogFilter, TheProgramsFilterIsTheFormsOwnToTheCharacter) {
  EXPECT_EQ(
      std::wstring(texts::kDialogFilter),
      L"All Video/Audio Files|*.3g2;*.3gp;*.3gpp;*.3gpp2;*.aac;*.ac3;*.aif;*.aifc;*.aiff;*.ape;*.au;*.avi;*.snd;*.asf;"
      L"*.cda;*.dvr-ms;*.dv;*.flac;*.flv;*.ivf;*.mpg;*.mpeg;*.m1v;*.mov;*.m4v;*.mkv;*.mp2;*.mp3;*.mp4;*.m3u;*.mpa;*."
      L"mid;"
      L"*.midi;*.mov;*.ogg;*.ogv;*.qt;*.ra;*.rm;*.ram;*.rmi;*.swf;*.wma;*.wmv;*.wm;*.wav;*.wmz;*.wms;*.asx;*.mw;*.m2v;"
      L"*.mod;*.dat;*.dvr-ms;*.ms-dvr;*.gvi;*.ogm;*.f4v;*.f4p;*.ts;*.tp;*.trp;*.m2ts;*.m2t;*.mts;*.amv;*.mtv;*.cdg;*."
      L"nsv;"
      L"*.fli;*.flc;*.rmvb;*.rv;*.ivr;*.cda;*.mpc;*.mpp;*.mp+;*.amr;*.awb;*.ape;*.div;*.divx;*.m4a;*.mjpg;*.mjpeg;*."
      L"mpv;"
      L"*.nut;*.yuv;*.vob|All files|*.*");
}

TEST(ChosenFiles, AreFullPathsOfOneOrSeveral) {
  using Files = std::vector<std::wstring>;
  EXPECT_EQ(ChosenFiles(L"C:\\Videos\\clip.avi\0\0"s), Files{L"C:\\Videos\\clip.avi"});
  EXPECT_EQ(ChosenFiles(L"C:\\Videos\\clip.avi"), Files{L"C:\\Videos\\clip.avi"});
  EXPECT_EQ(ChosenFiles(L"C:\\Videos\0b.avi\0a.avi\0\0"s), (Files{L"C:\\Videos\\b.avi", L"C:\\Videos\\a.avi"}));
  EXPECT_EQ(ChosenFiles(L"C:\\\0b.avi\0a.avi\0\0"s), (Files{L"C:\\b.avi", L"C:\\a.avi"}));
  EXPECT_EQ(ChosenFiles(L"\0\0"s), Files{});
}
