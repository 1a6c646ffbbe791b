// The headless preprocessing command run as a program: its files, its picture, and its exit
// status and message for each kind of bad input.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <fstream>
#include <string>
#include <vector>

#include "automation/plugin.h"
#include "testfiles.h"

namespace {

using wavedesk::test::TempFolder;

const QString kSample = QStringLiteral(WAVEDESK_SAMPLE);

struct Outcome {
  int status = -1;
  QString out, err;
};

QString program() { return QString::fromStdString(automation::programFolder() + "sepuprep"); }

Outcome sepuprep(const QStringList &args) {
  QProcess p;
  p.start(program(), args);
  p.waitForFinished(60000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

std::vector<long> integers(const QString &path) {
  std::ifstream in(path.toStdString());
  std::vector<long> v;
  long x;
  while (in >> x) v.push_back(x);
  return v;
}

class Sepuprep : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFile::exists(program())) GTEST_SKIP() << "sepuprep is not built";
  }
  TempFolder dir;
};

TEST_F(Sepuprep, WritesFourSeriesAndThePicture) {
  const QString base = dir.path("run");
  const Outcome r = sepuprep({kSample, base});
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  EXPECT_EQ(integers(base + "_input.sepu"), integers(kSample));
  for (const char *part : {"_denoised.sepu", "_baseline.sepu", "_corrected.sepu"})
    EXPECT_EQ(integers(base + part).size(), 16384u) << part;
  const QImage picture(base + ".bmp");
  ASSERT_FALSE(picture.isNull());
  EXPECT_GT(picture.width(), 300);
  int red = 0;  // the corrected trace is drawn in red
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixelColor(x, y) == QColor(255, 0, 0)) ++red;
  EXPECT_GT(red, 500);
}

TEST_F(Sepuprep, BadInputFailsWithAMessageAndWritesNothing) {
  const QString flat = dir.writeLines("flat.sepu", std::vector<long long>(100, 5000));
  const QString empty = dir.write("empty.sepu", "");
  const QString words = dir.write("words.sepu", "no numbers here\n");
  struct Case {
    QString input;
    const char *says;
  };
  for (const Case &c : {Case{dir.path("missing.sepu"), "no such file"}, Case{empty, "holds no values"},
                        Case{words, "holds no values"}, Case{flat, "all values are equal"}}) {
    const Outcome r = sepuprep({c.input, dir.path("out")});
    EXPECT_EQ(r.status, 1) << c.input.toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.says))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.path("out.bmp")));
    EXPECT_FALSE(QFile::exists(dir.path("out_input.sepu")));
  }
}

TEST_F(Sepuprep, WrongArgumentsAndParametersExitWithTwo) {
  for (const QStringList &args : {QStringList{}, QStringList{"-t"}, QStringList{"-w", "abc", kSample},
                                  QStringList{"-x", kSample}, QStringList{kSample, "a", "b"}}) {
    const Outcome r = sepuprep(args);
    EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains("usage: sepuprep")) << r.err.toStdString();
  }
  for (const QStringList &args : {QStringList{"-t", "0", kSample}, QStringList{"-t", "5000", kSample},
                                  QStringList{"-b", "401", kSample}, QStringList{"-w", "0", kSample}}) {
    const Outcome r = sepuprep(args);
    EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains("must be")) << r.err.toStdString();
  }
}

}  // namespace
