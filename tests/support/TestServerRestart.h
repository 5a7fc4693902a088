#pragma once
// Stops, starts and restarts the throw-away test server's cluster
// (tools/with-test-server.sh makes it with pg_virtualenv, which names it to
// pg_ctlcluster). Every session of every program on it ends, so tests that
// use this run alone (see tests/CMakeLists.txt).
#include <cstdlib>
#include <string>

namespace TestServerRestart {

// Whether the cluster can be driven: pg_virtualenv's cluster is there.
inline bool available()
{
    return std::getenv("PG_CLUSTER_CONF_ROOT") && std::system("pg_lsclusters -h >/dev/null 2>&1") == 0;
}

// action is "restart", "stop" or "start"; false when pg_ctlcluster failed.
inline bool cluster(const std::string& action)
{
    std::string command = "set -- $(pg_lsclusters -h | head -n 1) && pg_ctlcluster" +
                          std::string(action == "start" ? "" : " -m fast") + " \"$1\" \"$2\" " + action + " >/dev/null";
    return std::system(("sh -c '" + command + "'").c_str()) == 0;
}

}  // namespace TestServerRestart
