// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPalette>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>

// A set of controls of one kind that share a name and are told apart by a 16-bit index. Element 0
// belongs to the window's layout; every further element is made from it at run time. The
// elements stay children of element 0's parent, which owns them; the array only finds them.
template<class Control>
class ControlArray
{
public:
    // Makes the kind-specific part of a copy of the model (its text, read-only setting,
    // alignment...); the array adds what all controls share.
    using Copier = std::function<Control *(const Control &model)>;

    ControlArray(const QString &name, Control *first, Copier copy)
        : m_name(name)
        , m_copy(std::move(copy))
    {
        adopt(0, first);
    }

    // The element with that index, or nullptr: a missing index is the caller's failure.
    Control *element(qint16 index) const
    {
        const auto it = m_elements.find(index);
        return it == m_elements.end() ? nullptr : it->second;
    }

    // A hidden copy of element 0 as it is now; nullptr when the index is taken or element 0 is
    // gone.
    Control *create(qint16 index)
    {
        const Control *model = element(0);
        if (!model || element(index))
            return nullptr;
        Control *copy = m_copy(*model);
        copy->setParent(model->parentWidget());
        copy->setFont(model->font());
        copy->setPalette(sharedPalette(*model));
        copy->setGeometry(model->geometry());
        copy->hide();
        adopt(index, copy);
        return copy;
    }

    // Deletes the element at once, so nothing of it (entries, text) can outlive the row.
    bool destroy(qint16 index)
    {
        const auto it = m_elements.find(index);
        if (it == m_elements.end())
            return false;
        delete it->second;
        m_elements.erase(it);
        return true;
    }

    // Ascending walk: for (const auto &[index, control] : array).
    auto begin() const { return m_elements.cbegin(); }
    auto end() const { return m_elements.cend(); }
    qsizetype size() const { return qsizetype(m_elements.size()); }

private:
    // One palette for every copy, each of its roles set. A palette that sets only some roles is
    // resolved into a new one for every control it reaches, and the style keeps its drawings of a
    // control under its palette's identity: every row that came and went would leave drawings of
    // its own in the cache. A complete palette is shared as it is, so all rows share the drawings.
    const QPalette &sharedPalette(const Control &model)
    {
        if (!m_palette || !(*m_palette == model.palette())) {
            QPalette whole = model.palette();
            for (int g = 0; g < QPalette::NColorGroups; ++g) {
                for (int r = 0; r < QPalette::NColorRoles; ++r) {
                    const auto group = QPalette::ColorGroup(g);
                    const auto role = QPalette::ColorRole(r);
                    whole.setBrush(group, role, whole.brush(group, role));
                }
            }
            m_palette = whole;
        }
        return *m_palette;
    }

    void adopt(qint16 index, Control *control)
    {
        control->setObjectName(m_name + u'_' + QString::number(index));
        m_elements.emplace(index, control);
    }

    QString m_name;
    Copier m_copy;
    std::optional<QPalette> m_palette;
    std::map<qint16, Control *> m_elements;
};
