#pragma once

#include <QObject>
#include <QString>
#include <gtest/gtest.h>

// The child of i_parent with the objectName i_sName, as every named control has; a test failure
// (and nullptr) when there is none of that name and type.
template <typename T> T* FindChild(const QObject& i_parent, const QString& i_sName) {
    T* child = i_parent.findChild<T*>(i_sName);
    EXPECT_NE(child, nullptr) << "no control " << i_sName.toStdString();
    return child;
}

template <typename T> T* FindChild(const QObject& i_parent, const char* i_sName) {
    return FindChild<T>(i_parent, QString::fromLatin1(i_sName));
}
