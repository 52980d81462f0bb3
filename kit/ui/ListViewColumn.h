// One column of a ListView; Index is kept equal to the column's position in the control.
#pragma once

#include <windows.h>
#include <boost/noncopyable.hpp>
#include <string>

namespace kit {

class ListView;

class ListViewColumn : private boost::noncopyable {
public:
    ListViewColumn(ListView* list, int index) : List(list), Index(index) {}

    int GetIndex() const { return Index; }
    ListView* GetList() const { return List; }
    int GetWidth() const;
    void SetWidth(int width);
    std::wstring GetText() const;

private:
    friend class ListView;

    ListView* List; // not owned
    int Index;
};

} // namespace kit
