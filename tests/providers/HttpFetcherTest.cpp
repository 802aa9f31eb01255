#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "LoopbackServer.h"
#include "ProviderTestData.h"
#include "core/Core.h"
#include "providers/Providers.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

using test::ProviderErrorOf;
using test::TLoopbackServer;
using test::UnreachableOf;
using ::testing::StartsWith;

class HttpFetcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& server = FServer.Server();
        server.Get("/ok", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("{\"ok\":1}", "application/json");
        });
        server.Get("/moved", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/ok", 301);
        });
        server.Get("/loop", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/loop", 302);
        });
        server.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("file:///etc/passwd", 302);
        });
        server.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.status = std::stoi(req.matches[1]);
            res.set_content("refus", "text/plain");
        });
        server.Get("/empty", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("", "text/html");
        });
        server.Get("/latin1", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("Caf\xE9 cr\xE8me", "text/html; charset=ISO-8859-1");
        });
        server.Get("/latin1-unlabelled", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("Caf\xE9 cr\xE8me", "text/html");
        });
        server.Get("/unknown-charset", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("Caf\xC3\xA9", "text/html; charset=x-nothing-known");
        });
        server.Get("/echo-headers", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.get_header_value("User-Agent") + "\n" +
                                req.get_header_value("Accept") + "\n" +
                                req.get_header_value("Accept-Language"),
                            "text/plain");
        });
        FServer.Start();
    }

    TLoopbackServer FServer;
    THttpFetcher FFetcher;
};

TEST_F(HttpFetcherTest, ReturnsTheBodyOfASuccessfulGet) {
    EXPECT_EQ(FFetcher.Get(FServer.Url("/ok")), "{\"ok\":1}");
}

TEST_F(HttpFetcherTest, FollowsARedirectToTheFinalBody) {
    EXPECT_EQ(FFetcher.Get(FServer.Url("/moved")), "{\"ok\":1}");
}

TEST_F(HttpFetcherTest, SendsTheBrowserIdentityAndFrenchPreferences) {
    EXPECT_EQ(FFetcher.Get(FServer.Url("/echo-headers")),
              "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
              "Chrome/130.0 Safari/537.36\n"
              "text/html,application/json,text/csv;q=0.9,*/*;q=0.8\n"
              "fr-FR,fr;q=0.9,en;q=0.8");
}

TEST_F(HttpFetcherTest, TurnsUnwantedStatusesIntoFrenchErrors) {
    struct TCase {
        int Status;
        std::string Expected;  // "{url}" stands for the requested address
        bool Unreachable;      // the server failed: a stored copy may stand in
    };
    const TCase cases[] = {
        {401, "Acces refuse (HTTP 401) : {url}", false},
        {403, "Acces refuse (HTTP 403) : {url}", false},
        {404, "Ressource introuvable (HTTP 404) : symbole ou URL errone", false},
        {429, "Trop de requetes (HTTP 429) : reessayer plus tard", false},
        {503, "HTTP 503 Service Unavailable", true},
        {500, "HTTP 500 Internal Server Error", true},
    };
    for (const auto& c : cases) {
        const std::string url = FServer.Url("/status/" + std::to_string(c.Status));
        std::string expected = c.Expected;
        if (const auto at = expected.find("{url}"); at != std::string::npos)
            expected.replace(at, 5, url);
        EXPECT_EQ(ProviderErrorOf([&] { FFetcher.Get(url); }), expected) << c.Status;
        EXPECT_EQ(UnreachableOf([&] { FFetcher.Get(url); }), c.Unreachable) << c.Status;
    }
    EXPECT_THROW(FFetcher.Get(FServer.Url("/status/404")), EResourceNotFound);
}

TEST_F(HttpFetcherTest, RefusesAnEmptyBody) {
    const std::string url = FServer.Url("/empty");
    EXPECT_EQ(ProviderErrorOf([&] { FFetcher.Get(url); }), "Reponse vide : " + url);
}

TEST_F(HttpFetcherTest, DecodesTheBodyByItsCharset) {
    EXPECT_EQ(FFetcher.Get(FServer.Url("/latin1")), "Caf\xC3\xA9 cr\xC3\xA8me");
    EXPECT_EQ(FFetcher.Get(FServer.Url("/unknown-charset")), "Caf\xC3\xA9");
}

TEST_F(HttpFetcherTest, RefusesInvalidUtf8WhenNoCharsetIsNamed) {
    const std::string url = FServer.Url("/latin1-unlabelled");
    EXPECT_EQ(ProviderErrorOf([&] { FFetcher.Get(url); }),
              "Reponse illisible (texte invalide en UTF-8) : " + url);
}

TEST_F(HttpFetcherTest, GivesUpAfterABoundedNumberOfRedirects) {
    const std::string url = FServer.Url("/loop");
    EXPECT_EQ(ProviderErrorOf([&] { FFetcher.Get(url); }),
              "Echec reseau sur " + url + " : plus de 10 redirections");
}

TEST_F(HttpFetcherTest, NeverFollowsARedirectToALocalFile) {
    const std::string url = FServer.Url("/to-file");
    EXPECT_EQ(
        ProviderErrorOf([&] { FFetcher.Get(url); }),
        "Redirection refusee de " + url + " vers file:///etc/passwd : protocole non autorise");
}

TEST(HttpFetcherFailures, ReportsNetworkFailuresWithTheUrl) {
    THttpFetcher fetcher;
    const std::string unresolved = "http://cotalys-quotes.invalid/v8/finance/chart/RNO.PA";
    EXPECT_THAT(ProviderErrorOf([&] { fetcher.Get(unresolved); }),
                StartsWith("Echec reseau sur " + unresolved + " : "));

    std::string refused;
    {
        TLoopbackServer closed;
        closed.Start();
        refused = closed.Url("/ok");
    }
    EXPECT_THAT(ProviderErrorOf([&] { fetcher.Get(refused); }),
                StartsWith("Echec reseau sur " + refused + " : "));
    EXPECT_TRUE(UnreachableOf([&] { fetcher.Get(refused); }));
    EXPECT_THROW(fetcher.Get(refused), ENetworkFailure);
}

TEST(HttpFetcherFailures, ReportsAnUnparsableUrl) {
    THttpFetcher fetcher;
    EXPECT_THAT(ProviderErrorOf([&] { fetcher.Get("http://exa mple.com:99999999/"); }),
                StartsWith("URL invalide \"http://exa mple.com:99999999/\" : "));
}

TEST(HttpFetcherFailures, GivesUpOnASilentServerAfterTheResponseTimeout) {
    test::TSilentServer silent;
    THttpFetcher fetcher;
    fetcher.SetResponseTimeout(200);
    const std::string url = silent.Url("/chart");
    EXPECT_EQ(ProviderErrorOf([&] { fetcher.Get(url); }),
              "Echec reseau sur " + url + " : aucune reponse du serveur pendant 200 ms");
}

TEST(HttpFetcherFailures, RefusesABodyAboveTheCap) {
    TLoopbackServer server;
    const size_t chunk = 1024 * 1024;
    const size_t total = THttpFetcher::MaxBodyBytes + chunk;
    // One answer announces its length, the other streams without one: both must be cut.
    server.Server().Get("/announced", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(total, "text/csv",
                                 [chunk](size_t AOffset, size_t ALength, httplib::DataSink& ASink) {
                                     const std::string data(std::min(ALength, chunk), 'x');
                                     (void)AOffset;
                                     return ASink.write(data.data(), data.size());
                                 });
    });
    server.Server().Get("/streamed", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/csv",
                                         [chunk, total](size_t AOffset, httplib::DataSink& ASink) {
                                             if (AOffset >= total) {
                                                 ASink.done();
                                                 return true;
                                             }
                                             const std::string data(chunk, 'x');
                                             return ASink.write(data.data(), data.size());
                                         });
    });
    server.Start();
    THttpFetcher fetcher;
    for (const std::string path : {"/announced", "/streamed"}) {
        const std::string url = server.Url(path);
        EXPECT_EQ(ProviderErrorOf([&] { fetcher.Get(url); }),
                  "Reponse trop volumineuse (plus de 64 Mo) : " + url);
    }
}

class HttpsFetcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        FCertificate = test::TTestCertificate::Create(FFolder.Path());
        FServer = std::make_unique<TLoopbackServer>(FCertificate.Certificate, FCertificate.Key);
        FServer->Server().Get("/chart", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("{\"chart\":{}}", "application/json; charset=utf-8");
        });
        FServer->Start();
    }

    test::TempDir FFolder;
    test::TTestCertificate FCertificate;
    std::unique_ptr<TLoopbackServer> FServer;
};

TEST_F(HttpsFetcherTest, TrustsTheCertificateGivenAsTrustAnchor) {
    THttpFetcher fetcher;
    fetcher.SetCaBundle(FCertificate.Certificate.string());
    EXPECT_EQ(fetcher.Get(FServer->Url("/chart")), "{\"chart\":{}}");
}

TEST_F(HttpsFetcherTest, TakesTheTrustAnchorFromTheEnvironment) {
    ::setenv("COTALYS_CA_BUNDLE", FCertificate.Certificate.c_str(), 1);
    THttpFetcher fetcher;
    ::unsetenv("COTALYS_CA_BUNDLE");
    EXPECT_EQ(fetcher.CaBundle(), FCertificate.Certificate.string());
    EXPECT_EQ(fetcher.Get(FServer->Url("/chart")), "{\"chart\":{}}");
}

TEST_F(HttpsFetcherTest, RefusesAnUntrustedCertificate) {
    THttpFetcher fetcher;
    std::filesystem::create_directories(FFolder.Path() / "other");
    fetcher.SetCaBundle(
        test::TTestCertificate::Create(FFolder.Path() / "other").Certificate.string());
    const std::string url = FServer->Url("/chart");
    EXPECT_THAT(ProviderErrorOf([&] { fetcher.Get(url); }),
                StartsWith("Echec reseau sur " + url + " : "));
}

}  // namespace
}  // namespace cotalys
