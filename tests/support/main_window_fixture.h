// The main window with a fake platform, and the same in a fresh program folder:
// the one place tests build a TForm1 and the windows that work beside it.
#pragma once

#include "app/exit_form.h"
#include "app/main_window.h"
#include "desktop/copyright_form.h"
#include "editor/memo_view.h"
#include "find/search_form.h"
#include "ime/hangul_skb_form.h"
#include "ime/help_form.h"
#include "support/fake_platform.h"
#include "support/test_env.h"

#include <QStringList>
#include <functional>
#include <memory>

// The main window in the program folder the test set up (the innermost
// TestProgramDir; a restart runs a second one in the same folder).
class MainWindowUnderTest
{
public:
    // Runs before the window exists: sets the platform's answers, adds
    // command-line arguments.
    using Prepare = std::function<void(FakePlatform &fake, QStringList &arguments)>;

    explicit MainWindowUnderTest(const Prepare &prepare = {})
        : form(windowArguments(prepare), TestProgramDir::currentPath())
    {
    }

    // The companion windows, built on first use as the program builds them, handed
    // to the main window, and closed before it.
    Tsearchform &searchForm()
    {
        if (!m_search) {
            m_search = std::make_unique<Tsearchform>(&form, &form.editorContext(),
                                                     &form.hanjaDictionaries());
            wire();
        }
        return *m_search;
    }
    Texitform &exitForm()
    {
        if (!m_exit) {
            m_exit = std::make_unique<Texitform>(&form);
            wire();
        }
        return *m_exit;
    }
    Thangulskbform &screenKeyboard()
    {
        if (!m_keyboard) {
            m_keyboard = std::make_unique<Thangulskbform>(&form, form.inputTarget());
            wire();
        }
        return *m_keyboard;
    }
    Thelpform &helpForm()
    {
        if (!m_help) {
            m_help = std::make_unique<Thelpform>(&form, form.Memo1->font());
            wire();
        }
        return *m_help;
    }
    Tcopyrightform &copyrightForm()
    {
        if (!m_copyright) {
            m_copyright = std::make_unique<Tcopyrightform>(&form);
            wire();
        }
        return *m_copyright;
    }
    // Closes the about box, as when the program ends before the main window.
    void closeCopyrightForm() { m_copyright.reset(); }

    FakePlatform fake;
    TForm1 form;

private:
    // The main window knows the windows built so far, as the program's set tells it.
    void wire()
    {
        form.setWindows(
            {m_search.get(), m_help.get(), m_copyright.get(), m_exit.get(), m_keyboard.get()});
    }

    QStringList windowArguments(const Prepare &prepare)
    {
        QStringList arguments{QStringLiteral("tavriledit")};
        if (prepare)
            prepare(fake, arguments);
        return arguments;
    }

    std::unique_ptr<Tsearchform> m_search;
    std::unique_ptr<Texitform> m_exit;
    std::unique_ptr<Thangulskbform> m_keyboard;
    std::unique_ptr<Thelpform> m_help;
    std::unique_ptr<Tcopyrightform> m_copyright;
};

struct FreshProgramDir
{
    TestProgramDir dir;
};

// The main window in a fresh program folder, made before the window starts.
struct MainWindowFixture : FreshProgramDir, MainWindowUnderTest
{
    // Runs before the window exists: writes settings files into the program
    // folder, sets the platform's answers, adds command-line arguments.
    using Prepare =
        std::function<void(TestProgramDir &dir, FakePlatform &fake, QStringList &arguments)>;

    explicit MainWindowFixture(const Prepare &prepare = {})
        : MainWindowUnderTest([&](FakePlatform &fake, QStringList &arguments) {
              if (prepare)
                  prepare(dir, fake, arguments);
          })
    {
    }
};
