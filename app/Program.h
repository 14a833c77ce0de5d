#pragma once

class QApplication;
class TDataModule2;
class Tfrm_main;
class Tmain;

// The program-wide references to the three long-lived objects. Each is set before its
// object's creation step runs and cleared when the object is destroyed.
namespace kevran {
extern Tfrm_main *frm_main;
extern Tmain *main;
extern TDataModule2 *DataModule2;
} // namespace kevran

// Program-wide set-up and the termination request.
class Program {
public:
    // Names the application, substitutes the window font, and lets only the launcher's
    // closing end the program.
    static void setUpApplication(QApplication &app);

    // Start-up steps 2 to 4: the launcher, the main window (hidden) and the data module.
    // Answers false when the data module could not be created; the error has been reported
    // and the windows are destroyed again.
    static bool createWindows();
    // Reads the verse rows start-up left to read (the first idle step after the launcher has
    // painted). Answers false when they cannot be read: the error has been reported, and the
    // program is to end as when the data module could not be created.
    static bool readVerseRows();
    // Destroys the three objects, last created first.
    static void destroyWindows();

    // Asks the program to end when the event loop next takes a turn.
    static void requestTermination();
    static bool terminationRequested();
};
