#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <future>
#include <thread>

#include "ModuleKit.h"

namespace {

const char* const kSent = "Envoi terminé : le module est programmé et vérifié.";

// A USB serial port is taken before any port file.
bool usbSerialPortPresent() {
    for (const auto& entry : std::filesystem::directory_iterator("/dev")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("ttyUSB") || name.starts_with("ttyACM")) {
            return true;
        }
    }
    return false;
}

struct BuiltKit : Kit {
    BuiltKit() : Kit(Role::Maitre, {fj4[0]}) { make("all"); }
};

}  // namespace

// The port file is another user's text until proven otherwise: make takes it only from a file
// and folder of this user that nobody else can write to, and only when it names a local port.
TEST(PortFile, OnlyAPrivateFileNamingALocalPortIsUsed) {
    if (usbSerialPortPresent()) {
        GTEST_SKIP() << "a USB serial port is plugged in: make takes it before any port file";
    }
    const BuiltKit kit;
    const TempFolder own;
    const RunningModule module({"VEXLO_MODULE_PORT_FILE=" + own.file("port")});
    ASSERT_TRUE(waitUntil([&] { return !readBytes(own.file("port")).empty(); }));
    const std::string port = readBytes(own.file("port"));
    const TempFolder elsewhere;
    const std::string ran = elsewhere.file("ran");  // ${IFS}, not blanks: make would cut at one
    enum Owner { Me, OtherFile, OtherFolder };
    // Content, file mode, folder mode, owner, whether make sends to it.
    const std::tuple<std::string, mode_t, mode_t, Owner, bool> cases[] = {
        {port, 0600, 0700, Me, true},
        {port, 0644, 0755, Me, true},
        {port, 0620, 0700, Me, false},
        {port, 0602, 0700, Me, false},
        {port, 0600, 0770, Me, false},
        {port, 0600, 01777, Me, false},  // like /tmp
        {port, 0600, 0700, OtherFile, false},
        {port, 0600, 0700, OtherFolder, false},
        {"net:127.0.0.1:1';touch${IFS}" + ran + ";'\n", 0600, 0700, Me, false},
        {"net:127.0.0.1:$(touch${IFS}" + ran + ")\n", 0600, 0700, Me, false},
        {"/dev/tty`touch${IFS}" + ran + "`\n", 0600, 0700, Me, false},
        {"net:10.0.0.1:80\n", 0600, 0700, Me, false},
        {"net:127.0.0.1:65536\n", 0600, 0700, Me, false},
        {port + port, 0600, 0700, Me, false},
    };
    bool skipped = false;
    for (const auto& [content, fileMode, folderMode, owner, used] : cases) {
        SCOPED_TRACE(testing::Message() << content << std::oct << " file " << fileMode << " folder "
                                        << folderMode << " owner " << owner);
        if (owner != Me && geteuid() != 0) {
            skipped = true;  // only root can give a file away
            continue;
        }
        const TempFolder folder;
        const std::string file = folder.file("port");
        writeBytes(file, content);
        ASSERT_EQ(chmod(file.c_str(), fileMode), 0);
        ASSERT_EQ(chmod(folder.path().c_str(), folderMode), 0);
        if (owner != Me) {
            ASSERT_EQ(chown((owner == OtherFile ? file : folder.path()).c_str(), 65534, 65534), 0);
        }
        const MakeRun make = kit.run("program", {"VEXLO_MODULE_PORT_FILE=" + file});
        EXPECT_EQ(make.status == 0, used) << make.output;
        EXPECT_NE(make.output.find(used ? kSent : "Aucun module trouvé"), std::string::npos)
            << make.output;
        EXPECT_FALSE(exists(ran));
        std::remove(ran.c_str());
    }
    if (skipped) {
        GTEST_SKIP() << "files of another user need root: those cases were not run";
    }
}

// Without a file named for them, both sides use the user's runtime folder, or without one a
// folder of the user's home that the module makes private.
TEST(PortFile, TheModuleAndTheMakefileMeetInAPrivateFolderOfTheUser) {
    if (usbSerialPortPresent()) {
        GTEST_SKIP() << "a USB serial port is plugged in: make takes it before any port file";
    }
    const BuiltKit kit;
    const TempFolder place;
    ASSERT_EQ(mkdir(place.file("run").c_str(), 0700), 0);
    // The environment of both, where the port file is.
    const std::pair<Environment, std::string> cases[] = {
        {{"XDG_RUNTIME_DIR=" + place.file("run"), "HOME=" + place.path()},
         place.file("run/vexlo-module-" + std::to_string(getuid()) + ".port")},
        {{"XDG_RUNTIME_DIR=", "HOME=" + place.path()},
         place.file(".cache/vexlo/vexlo-module.port")},
    };
    for (auto [environment, file] : cases) {
        SCOPED_TRACE(file);
        environment.push_back("VEXLO_MODULE_PORT_FILE=");
        {
            const RunningModule module(environment);
            ASSERT_TRUE(waitUntil([&] { return exists(file); }));
            struct stat folder {
            }, written{};
            ASSERT_EQ(stat(file.substr(0, file.rfind('/')).c_str(), &folder), 0);
            ASSERT_EQ(stat(file.c_str(), &written), 0);
            EXPECT_EQ(folder.st_mode & 0777, 0700u);
            EXPECT_EQ(written.st_mode & 0077, 0u);
            const MakeRun make = kit.run("program", environment);
            EXPECT_EQ(make.status, 0) << make.output;
            EXPECT_NE(make.output.find(kSent), std::string::npos) << make.output;
        }
        EXPECT_FALSE(exists(file));  // taken away when the module ends
    }
}

// Two windows that send to one virtual module at the same time both succeed, one after the
// other, and so does a third one afterwards.
TEST(VirtualModule, ServesOneSendAfterAnother) {
    const BuiltKit kit;
    const TempFolder own;
    const Environment environment = {"VEXLO_MODULE_PORT_FILE=" + own.file("port")};
    const RunningModule module(environment);
    ASSERT_TRUE(waitUntil([&] { return exists(own.file("port")); }));
    auto send = [&] { return kit.run("program", environment); };
    auto first = std::async(std::launch::async, send);
    auto second = std::async(std::launch::async, send);
    for (const MakeRun& make : {first.get(), second.get(), send()}) {
        EXPECT_EQ(make.status, 0) << make.output;
        EXPECT_NE(make.output.find(kSent), std::string::npos) << make.output;
    }
}

// avrdude reads a link the module closed for ever, without a word: make stops it and says the
// module does not answer.
TEST(VirtualModule, ALinkClosedByTheModuleEndsTheSending) {
    const BuiltKit kit;
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    ASSERT_EQ(bind(listener, generic, length), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    ASSERT_EQ(getsockname(listener, generic, &length), 0);
    std::thread module([&] { close(accept(listener, nullptr, nullptr)); });
    const MakeRun make =
        kit.run("program PORT=net:127.0.0.1:" + std::to_string(ntohs(address.sin_port)));
    module.join();
    close(listener);
    EXPECT_NE(make.status, 0);
    EXPECT_NE(make.output.find("ne répond plus"), std::string::npos) << make.output;
    EXPECT_EQ(make.output.rfind("not responding"), make.output.find("not responding"))
        << make.output;
}
