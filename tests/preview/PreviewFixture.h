// A preview window handed a generated picture and a working workbook, as the report driver does,
// with dialogs answered by the test and the program's end replaced.
#pragma once

#include "app/Paths.h"
#include "app/ProgramExit.h"
#include "preview/Form3.h"
#include "preview/PictureArea.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

using testing_support::fileBytes;
using testing_support::writeFile;

class PreviewFixture : public ::testing::Test {
protected:
    testing_support::TestEnvironment env;
    testing_support::FakeDialogs dialogs;
    QWidget mainWindow;
    std::unique_ptr<preview::Form3> form;
    QString workbook;
    int endCalls = 0;

    void SetUp() override
    {
        app::setEndProgramHandler([this](int) { ++endCalls; });
        app::paths::setProgramFolder(env.root());
        workbook = env.tempDir() + "/tquill12345678.xls";
        writeFile(workbook, "working workbook bytes");
        form = std::make_unique<preview::Form3>();
        mainWindow.show();
    }
    void TearDown() override
    {
        form.reset();
        app::setEndProgramHandler(nullptr);
        app::paths::setProgramFolder(QString());
    }

    // A picture whose left half is red and right half blue.
    QString writePicture(QSize size, const QString& name = "temp.bmp")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QPainter(&image).fillRect(0, 0, size.width() / 2, size.height(), Qt::red);
        const QString path = env.tempDir() + "/" + name;
        image.save(path, "BMP");
        return path;
    }

    void handOver(QSize size) { form->handOver(writePicture(size), workbook, &mainWindow); }

    // The window's controls, found by their names as a user finds them by their captions.
    template <class W = QWidget>
    W* control(const char* name) const
    {
        W* widget = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    preview::PictureArea* picture() const { return control<preview::PictureArea>("Picture1"); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QScrollBar* bar(const char* name) const { return control<QScrollBar>(name); }

    static void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }
    // The colour the picture area shows at a pixel of its own.
    QColor shownAt(int x, int y) const { return picture()->shown(QRect(x, y, 1, 1)).pixelColor(0, 0); }
    // Presses on the picture area at from, moves with the button held to to, releases there.
    void drag(QPoint from, QPoint to)
    {
        QWidget* area = picture();
        mouse(area, QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(area, QEvent::MouseMove, to, Qt::LeftButton);
        mouse(area, QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
};
