// The readings for Prometheus: the exposition text of one evaluation and its
// file, replaced whole.
#include "ScratchFolder.h"
#include "export/PrometheusFileSink.h"
#include "export/PrometheusText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sentinax {
namespace {

namespace fs = std::filesystem;

ReadingSnapshot DemoBoard() {
    ReadingSnapshot s;
    auto set = [&](ReadoutItem item, int32_t value, int32_t lower, int32_t upper, bool warning) {
        s.Items[static_cast<int>(item)] = {true, value, lower, upper, warning};
    };
    set(ReadoutItem::Vcore, 1350, 690, 2000, false);
    set(ReadoutItem::CpuTemp, 45, 10, 75, false);
    set(ReadoutItem::V12, 12144, 11400, 12600, false);
    set(ReadoutItem::CpuFan, 300, 800, 8500, true);
    // 3.3 V, +5 V, the system temperature and two fans are absent.
    s.ChassisSupported = true;
    s.ChassisOpen = true;
    s.EvaluatedAt = 1718000000;
    return s;
}

TEST(PrometheusText, ExpositionOfOneEvaluation) {
    const std::string expected =
        "# HELP sentinax_voltage_volts Voltage of the CPU core or a supply rail, in volts\n"
        "# TYPE sentinax_voltage_volts gauge\n"
        "sentinax_voltage_volts{item=\"vcore\"} 1.35\n"
        "sentinax_voltage_volts{item=\"+12V\"} 12.144\n"
        "# HELP sentinax_voltage_lower_limit_volts Lower limit set for this item\n"
        "# TYPE sentinax_voltage_lower_limit_volts gauge\n"
        "sentinax_voltage_lower_limit_volts{item=\"vcore\"} 0.69\n"
        "sentinax_voltage_lower_limit_volts{item=\"+12V\"} 11.4\n"
        "# HELP sentinax_voltage_upper_limit_volts Upper limit set for this item\n"
        "# TYPE sentinax_voltage_upper_limit_volts gauge\n"
        "sentinax_voltage_upper_limit_volts{item=\"vcore\"} 2\n"
        "sentinax_voltage_upper_limit_volts{item=\"+12V\"} 12.6\n"
        "# HELP sentinax_temperature_celsius Temperature of the CPU or the system, in degrees "
        "Celsius\n"
        "# TYPE sentinax_temperature_celsius gauge\n"
        "sentinax_temperature_celsius{item=\"cpu\"} 45\n"
        "# HELP sentinax_temperature_lower_limit_celsius Lower limit set for this item\n"
        "# TYPE sentinax_temperature_lower_limit_celsius gauge\n"
        "sentinax_temperature_lower_limit_celsius{item=\"cpu\"} 10\n"
        "# HELP sentinax_temperature_upper_limit_celsius Upper limit set for this item\n"
        "# TYPE sentinax_temperature_upper_limit_celsius gauge\n"
        "sentinax_temperature_upper_limit_celsius{item=\"cpu\"} 75\n"
        "# HELP sentinax_fan_speed_rpm Speed of a fan, in revolutions per minute\n"
        "# TYPE sentinax_fan_speed_rpm gauge\n"
        "sentinax_fan_speed_rpm{item=\"cpu\"} 300\n"
        "# HELP sentinax_fan_speed_lower_limit_rpm Lower limit set for this item\n"
        "# TYPE sentinax_fan_speed_lower_limit_rpm gauge\n"
        "sentinax_fan_speed_lower_limit_rpm{item=\"cpu\"} 800\n"
        "# HELP sentinax_fan_speed_upper_limit_rpm Upper limit set for this item\n"
        "# TYPE sentinax_fan_speed_upper_limit_rpm gauge\n"
        "sentinax_fan_speed_upper_limit_rpm{item=\"cpu\"} 8500\n"
        "# HELP sentinax_alarm 1 while the item is in warning (out of range for three "
        "evaluations or more)\n"
        "# TYPE sentinax_alarm gauge\n"
        "sentinax_alarm{quantity=\"voltage\",item=\"vcore\"} 0\n"
        "sentinax_alarm{quantity=\"temperature\",item=\"cpu\"} 0\n"
        "sentinax_alarm{quantity=\"voltage\",item=\"+12V\"} 0\n"
        "sentinax_alarm{quantity=\"fan_speed\",item=\"cpu\"} 1\n"
        "# HELP sentinax_chassis_intrusion 1 when the case was found opened\n"
        "# TYPE sentinax_chassis_intrusion gauge\n"
        "sentinax_chassis_intrusion 1\n"
        "# HELP sentinax_poweroff_countdown 1 while the over-temperature countdown to a power-off "
        "runs\n"
        "# TYPE sentinax_poweroff_countdown gauge\n"
        "sentinax_poweroff_countdown 0\n"
        "# HELP sentinax_last_evaluation_timestamp_seconds When the readings were taken, in "
        "seconds since the epoch\n"
        "# TYPE sentinax_last_evaluation_timestamp_seconds gauge\n"
        "sentinax_last_evaluation_timestamp_seconds 1718000000\n";
    EXPECT_EQ(PrometheusText(DemoBoard()), expected);
    // The user's language changes nothing.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        EXPECT_EQ(PrometheusText(DemoBoard()), expected);
        std::setlocale(LC_NUMERIC, "C");
    }
    // Negative temperatures, and a board with nothing: an empty file.
    ReadingSnapshot cold;
    cold.Items[static_cast<int>(ReadoutItem::SysTemp)] = {true, -44, 0, 40, true};
    EXPECT_NE(PrometheusText(cold).find("sentinax_temperature_celsius{item=\"system\"} -44\n"),
              std::string::npos);
    EXPECT_EQ(PrometheusText(ReadingSnapshot{}), "");
    // A countdown under way, and a time past 2038 (the rules compare it with time()).
    ReadingSnapshot counting = DemoBoard();
    counting.PowerOffCountdown = true;
    counting.EvaluatedAt = 4102444800;
    const std::string text = PrometheusText(counting);
    EXPECT_NE(text.find("\nsentinax_poweroff_countdown 1\n"), std::string::npos);
    EXPECT_NE(text.find("\nsentinax_last_evaluation_timestamp_seconds 4102444800\n"),
              std::string::npos);
}

TEST(PrometheusFileSink, ReplacesTheFileWholeAndReportsAFailingFolderOnce) {
    const test::ScratchFolder scratch("sx-prom");
    const fs::path& dir = scratch.Path();
    std::vector<std::string> reports;
    PrometheusFileSink sink((dir / "metrics/").string(),
                            [&](const std::string& m) { reports.push_back(m); });
    EXPECT_EQ(sink.Path(), (dir / "metrics/sentinax.prom").string());

    sink.Publish(DemoBoard()); // the folder does not exist yet
    sink.Publish(DemoBoard());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("cannot write the readings"), std::string::npos);

    fs::create_directory(dir / "metrics");
    // Written under a service's umask, it is still readable by node_exporter's user.
    const mode_t umaskBefore = ::umask(077);
    sink.Publish(DemoBoard());
    ::umask(umaskBefore);
    ASSERT_EQ(reports.size(), 2u); // it works again, and says so
    std::ifstream in(dir / "metrics/sentinax.prom");
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), PrometheusText(DemoBoard()));
    // Nothing else is left in the folder the collector reads.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir / "metrics")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
    struct stat st {};
    ASSERT_EQ(::stat(sink.Path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

// Every metric the shipped alert rules, their tests and the dashboard query is
// one the monitor writes: a renamed metric would leave an alert that can
// never fire and a panel that stays empty.
TEST(PrometheusText, TheShippedRulesAndDashboardAskOnlyForExportedMetrics) {
    ReadingSnapshot full = DemoBoard();
    for (ItemReading& r : full.Items)
        r.Present = true;
    std::set<std::string> exported;
    const std::regex sample(R"(^(sentinax_[a-z_]+)[{ ])");
    std::istringstream lines(PrometheusText(full));
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, sample))
            exported.insert(m[1]);
    }
    ASSERT_GE(exported.size(), 13u);
    int asked = 0;
    for (const char* file :
         {"sentinax-rules.yml", "sentinax-rules-test.yml", "sentinax-dashboard.json"}) {
        std::ifstream in(std::string(SX_PROMETHEUS_DIR) + "/" + file);
        ASSERT_TRUE(in) << file;
        const std::string content((std::istreambuf_iterator<char>(in)), {});
        const std::regex name(R"(sentinax_[a-z_]+)");
        for (auto it = std::sregex_iterator(content.begin(), content.end(), name);
             it != std::sregex_iterator(); ++it) {
            ++asked;
            EXPECT_TRUE(exported.count(it->str())) << file << " asks for " << it->str();
        }
    }
    EXPECT_GT(asked, 20);
}

// A link planted as sentinax.prom, or a folder others can change, is never
// written through: what the link points to keeps its bytes, mode and owner.
TEST(PrometheusFileSink, APlantedLinkOrAnOpenFolderIsRefusedAndSaid) {
    const test::ScratchFolder scratch("sx-prom");
    const fs::path& dir = scratch.Path();
    std::ofstream(dir / "root-only") << "secret\n";
    ::chmod((dir / "root-only").c_str(), 0600);
    struct stat before {};
    ::stat((dir / "root-only").c_str(), &before);
    const struct {
        const char* what;
        const char* folderMode; // of the metrics folder
        const char* said;
    } cases[] = {
        {"a link in the user's folder", "0755", "is a symbolic link; it is not followed"},
        {"a link in a folder open to everybody", "0777", "can be changed by other users"},
        {"a link in a sticky folder", "1777", "is a symbolic link; it is not followed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir / "metrics");
        fs::create_directory(dir / "metrics");
        ::chmod((dir / "metrics").c_str(), std::stoi(c.folderMode, nullptr, 8));
        fs::create_symlink(dir / "root-only", dir / "metrics/sentinax.prom");
        std::vector<std::string> reports;
        PrometheusFileSink sink((dir / "metrics").string(),
                                [&](const std::string& m) { reports.push_back(m); });
        sink.Publish(DemoBoard());
        sink.Publish(DemoBoard());
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].rfind(sink.Path() + ": cannot write the readings for Prometheus: ", 0),
                  0u);
        EXPECT_NE(reports[0].find(c.said), std::string::npos) << reports[0];
        std::ifstream in(dir / "root-only");
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "secret\n");
        struct stat after {};
        ::stat((dir / "root-only").c_str(), &after);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_TRUE(fs::is_symlink(dir / "metrics/sentinax.prom"));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir / "metrics"), {}), 1);
    }
}

// A file that can no longer be refreshed (a full disk, played by the file
// size limit, which holds for root too) is removed, so that a scraper sees
// the readings missing instead of frozen; the next good write brings it back.
TEST(PrometheusFileSink, AFileThatCannotBeRefreshedIsRemovedNotLeftFrozen) {
    const test::ScratchFolder scratch("sx-prom");
    const fs::path& dir = scratch.Path();
    const std::string text = PrometheusText(DemoBoard());
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string said;
        PrometheusFileSink sink(dir.string(), [&](const std::string& m) { said += m + "\n"; });
        sink.Publish(DemoBoard()); // a complete file
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit before = limit;
        limit.rlim_cur = 100; // the soft limit only, so that it can be lifted again
        ::setrlimit(RLIMIT_FSIZE, &limit);
        sink.Publish(DemoBoard());
        sink.Publish(DemoBoard());
        const bool gone = !fs::exists(sink.Path());
        ::setrlimit(RLIMIT_FSIZE, &before);
        sink.Publish(DemoBoard());
        [[maybe_unused]] auto n = ::write(pipeFds[1], said.data(), said.size());
        ::_exit(gone ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string said;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the frozen file stayed";
    const std::string path = (dir / "sentinax.prom").string();
    EXPECT_EQ(said, path +
                        ": cannot write the readings for Prometheus: File too large; the last "
                        "file is removed, so that its readings are not taken for current ones\n" +
                        path + ": written again\n");
    std::ifstream in(path);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), text);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << "no temporary file left";
}

} // namespace
} // namespace sentinax
