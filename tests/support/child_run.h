#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

namespace tabulon::test {

// The running test's name, as --gtest_filter takes it.
inline QString currentTestName() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    return QStringLiteral("%1.%2").arg(QString::fromLatin1(test->test_suite_name()),
                                       QString::fromLatin1(test->name()));
}

// Runs one test of this program in a child with `environment` and expects it
// to pass there: for what the toolkit reads only once, at start.
inline void expectPassesInChild(const QString& test, const QProcessEnvironment& environment) {
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + test});
    ASSERT_TRUE(child.waitForFinished(60000)) << test.toStdString();
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

} // namespace tabulon::test
